#include "forms/FunctionMatrixWindow.h"

#include "forms/CompactView.h"

#include <QPainter>

// The picture lives in the forms library's resources; a static library drops resource
// registration unless somebody asks for it. (Must stand outside any namespace.)
static void InitFormResources()
{
    Q_INIT_RESOURCE(forms);
}

FunctionMatrixWindow::FunctionMatrixWindow(AppContext& app) : QDialog(nullptr), app_(app)
{
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("Function Matrix"));
    InitFormResources();
    picture_.load(QStringLiteral(":/forms/FunctionMatrix.png"));
    // The picture scales with the window, which opens within a small screen.
    const QSize size = picture_.isNull() ? QSize(640, 480) : picture_.size();
    resize(size.width() > kSmallScreenRoom.width() || size.height() > kSmallScreenRoom.height()
               ? size.scaled(kSmallScreenRoom, Qt::KeepAspectRatio)
               : size);
}

QRect FunctionMatrixWindow::pictureRect(const QSize& picture, const QSize& client)
{
    if (picture.isEmpty() || client.isEmpty())
        return {};
    const QSize scaled = picture.scaled(client, Qt::KeepAspectRatio);
    return QRect(QPoint((client.width() - scaled.width()) / 2, (client.height() - scaled.height()) / 2), scaled);
}

void FunctionMatrixWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (picture_.isNull())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(pictureRect(picture_.size(), size()), picture_);
}
