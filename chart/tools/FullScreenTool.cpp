#include "chart/tools/FullScreenTool.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/engine/AxisPanel.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>

int KeyOfVirtualKey(int vk)
{
    if (vk == 27)
        return Qt::Key_Escape;
    if (vk == 13)
        return Qt::Key_Return;
    if (vk == 32)
        return Qt::Key_Space;
    if (vk >= 'A' && vk <= 'Z')
        return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return Qt::Key_0 + (vk - '0');
    if (vk >= 112 && vk <= 123)
        return Qt::Key_F1 + (vk - 112);
    return 0;
}

// The full-screen window: the release key and any close put the chart back first.
class TFullScreenTool::Holder : public QWidget {
public:
    explicit Holder(TFullScreenTool& tool) : tool_(tool)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    bool Releases(const QKeyEvent& event) const
    {
        const int key = KeyOfVirtualKey(tool_.releaseKey_);
        if (key == 0)
            return false;
        if (key == Qt::Key_Return)
            return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
        return event.key() == key;
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (Releases(*event))
            tool_.SetActive(false);
        else
            QWidget::keyPressEvent(event);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && Releases(*static_cast<QKeyEvent*>(event))) {
            tool_.SetActive(false);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        try {
            tool_.Leave();
        } catch (...) {
            ReportChartError("TFullScreenTool::Leave");
        }
        QWidget::closeEvent(event);
    }

private:
    TFullScreenTool& tool_;
};

TFullScreenTool::TFullScreenTool()
{
    TPlotCustomTool::SetActive(false);
}

TFullScreenTool::~TFullScreenTool()
{
    MarkDestroying();
    Leave();
}

QString TFullScreenTool::Description() const { return QStringLiteral("Full Screen"); }

QString TFullScreenTool::LongDescription() const { return QStringLiteral("Show Chart maximized to full screen"); }

TCustomAxisPanel* TFullScreenTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

void TFullScreenTool::SetActive(bool value)
{
    if (value == Active())
        return;
    TPlotCustomTool::SetActive(value);
    if (value) {
        TCustomAxisPanel* panel = Panel();
        if (panel && !panel->IsLoading() && !Loading())
            Enter();
    } else {
        Leave();
    }
}

void TFullScreenTool::SetParentChart(ChartParent* chart)
{
    if (chart != ParentChart())
        Leave();
    TPlotCustomTool::SetParentChart(chart);
}

void TFullScreenTool::Enter()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || window_)
        return;
    formerParent_ = panel->parentWidget();
    formerGeometry_ = panel->geometry();
    wasVisible_ = panel->isVisible();
    layoutIndex_ = -1;
    gridRow_ = gridColumn_ = -1;
    if (QLayout* layout = formerParent_ ? formerParent_->layout() : nullptr) {
        layoutIndex_ = layout->indexOf(panel);
        if (auto* grid = qobject_cast<QGridLayout*>(layout); grid && layoutIndex_ >= 0)
            grid->getItemPosition(layoutIndex_, &gridRow_, &gridColumn_, &gridRowSpan_, &gridColumnSpan_);
        else if (auto* box = qobject_cast<QBoxLayout*>(layout); box && layoutIndex_ >= 0)
            boxStretch_ = box->stretch(layoutIndex_);
    }
    auto* holder = new Holder(*this);   // owned by itself: deleted on close
    holder->setWindowTitle(panel->window() ? panel->window()->windowTitle() : QString());
    holder->layout()->addWidget(panel);
    panel->installEventFilter(holder);
    panel->show();
    window_ = holder;
    holder->showFullScreen();
    panel->setFocus();
}

// Back into the former parent at the former place: into the same layout cell or position, or at
// the former geometry where the parent has no layout.
void TFullScreenTool::Leave()
{
    if (!window_ || leaving_)
        return;
    leaving_ = true;
    QWidget* holder = window_;
    window_ = nullptr;
    if (TCustomAxisPanel* panel = Panel(); panel && panel->parentWidget() == holder) {
        panel->removeEventFilter(holder);
        QWidget* parent = formerParent_;
        panel->setParent(parent);
        QLayout* layout = parent ? parent->layout() : nullptr;
        if (auto* grid = qobject_cast<QGridLayout*>(layout); grid && gridRow_ >= 0)
            grid->addWidget(panel, gridRow_, gridColumn_, gridRowSpan_, gridColumnSpan_);
        else if (auto* box = qobject_cast<QBoxLayout*>(layout); box && layoutIndex_ >= 0)
            box->insertWidget(std::min(layoutIndex_, box->count()), panel, boxStretch_);
        else if (layout && layoutIndex_ >= 0)
            layout->addWidget(panel);
        else
            panel->setGeometry(formerGeometry_);
        panel->setVisible(wasVisible_);
    }
    if (holder->isVisible())
        holder->close();
    else
        holder->deleteLater();
    if (Active()) {
        // Closed by the window system: the tool goes off without asking for the window again.
        TPlotCustomTool::SetActive(false);
    }
    leaving_ = false;
}
