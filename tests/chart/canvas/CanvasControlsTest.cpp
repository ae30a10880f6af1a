#include "chart/canvas/PlotControls.h"

#include <QApplication>
#include <QColorDialog>
#include <QEnterEvent>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QRgb PixelAt(QWidget& w, QPoint p)
{
    return w.grab().toImage().pixel(p);
}

void UseFusion(QWidget& w)
{
    static QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    w.setStyle(fusion);
}

} // namespace

TEST(CanvasControls, PlotButtonSizeAndSymbolArea)
{
    TPlotButton b;
    EXPECT_EQ(b.size(), QSize(75, 25));
    const QRect s = b.SymbolRect();
    EXPECT_EQ(s.left(), 75 - 19);
    EXPECT_EQ(s.right() + 1, 75 - 6);
    EXPECT_EQ(s.top(), 25 - 3 * 6);
    EXPECT_EQ(s.bottom() + 1, 25 - 6);
    QSpinBox spin;
    b.LinkProperty(&spin, QStringLiteral("value"));
    EXPECT_TRUE(b.LinkedProperty().isValid());
    b.LinkProperty(&spin, QString());
    EXPECT_FALSE(b.LinkedProperty().isValid());
}

TEST(CanvasControls, ColorButtonShowsItsColourSwatch)
{
    TButtonColor b;
    UseFusion(b);
    const QPoint centre = b.SymbolRect().center();
    b.SetStoredColor(clRed);
    EXPECT_EQ(PixelAt(b, centre), qRgb(255, 0, 0));
    EXPECT_EQ(PixelAt(b, b.SymbolRect().topLeft()), qRgb(0, 0, 0));   // black frame of the swatch
    b.SetStoredColor(clNone);
    EXPECT_NE(PixelAt(b, centre), qRgb(255, 0, 0));
    b.OnGetColor = [] { return clLime; };   // the query event wins
    b.SetStoredColor(clRed);
    EXPECT_EQ(PixelAt(b, centre), qRgb(0, 255, 0));
    b.OnGetColor = nullptr;
    b.setEnabled(false);   // disabled: no frame
    EXPECT_NE(PixelAt(b, b.SymbolRect().topLeft()), qRgb(0, 0, 0));
    EXPECT_EQ(PixelAt(b, centre), qRgb(255, 0, 0));
}

TEST(CanvasControls, ColorButtonEditsTheLinkedPropertyBeforeOtherClickHandlers)
{
    TButtonColor b;
    QSpinBox spin;
    spin.setRange(0, 0x7FFFFFFF);
    spin.setValue(clRed);
    b.LinkProperty(&spin, QStringLiteral("value"));
    EXPECT_EQ(b.SymbolColor(), clRed);
    spin.setValue(clBtnFace & 0x7FFFFFFF);   // not a system colour any more: only the low bytes count
    EXPECT_EQ(b.SymbolColor(), static_cast<TColor>(ColorToRGB(clBtnFace & 0x7FFFFFFF)));
    spin.setValue(clRed);

    TColor offered = clNone;
    b.ColorDialog = [&offered](QWidget*, TColor c) {
        offered = c;
        return clBlue;
    };
    TColor seenByLaterHandler = clNone;
    QObject::connect(&b, &QPushButton::clicked, [&] { seenByLaterHandler = b.SymbolColor(); });
    std::vector<TColor> edited;
    QObject::connect(&b, &TButtonColor::ColorEdited, [&](TColor c) { edited.push_back(c); });
    b.click();
    EXPECT_EQ(offered, clRed);
    EXPECT_EQ(spin.value(), clBlue);
    EXPECT_EQ(seenByLaterHandler, clBlue);
    EXPECT_EQ(edited, std::vector<TColor>{clBlue});

    // The same colour back: nothing written, no edit signal.
    b.click();
    EXPECT_EQ(edited.size(), 1u);

    TButtonColor unlinked;
    unlinked.SetStoredColor(clYellow);
    unlinked.ColorDialog = [](QWidget*, TColor) { return clPurple; };
    unlinked.click();
    EXPECT_EQ(unlinked.StoredColor(), clPurple);
}

TEST(CanvasControls, EditColorDialogReturnsTheChosenColourOrTheOldOne)
{
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->currentColor(), QColor(0, 0, 255));
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->accept();
    });
    EXPECT_EQ(EditColorDialog(nullptr, clBlue), RGBColor(10, 20, 30));

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->reject();
    });
    TColor c = clBlue;
    EXPECT_FALSE(EditColor(nullptr, c));
    EXPECT_EQ(c, clBlue);
}

TEST(CanvasControls, FlatComboKeepsThePlatformLookWhileHoveredOrFocused)
{
    TComboFlat combo;
    UseFusion(combo);
    combo.resize(120, 21);
    EXPECT_EQ(combo.height(), 21);
    EXPECT_EQ(combo.ItemHeight(), 13);
    EXPECT_FALSE(combo.isEditable());
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.DropDownWidth(), 120);
    EXPECT_FALSE(combo.IsDropDownWidthStored());
    combo.SetDropDownWidth(200);
    EXPECT_EQ(combo.DropDownWidth(), 200);
    EXPECT_TRUE(combo.IsDropDownWidthStored());

    EXPECT_TRUE(combo.DrawsFlat());
    const QRgb flatCorner = PixelAt(combo, QPoint(0, 0));
    EXPECT_EQ(flatCorner, qRgb(0xC0, 0xC0, 0xC0));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&combo, &enter);
    EXPECT_TRUE(combo.MouseInside());
    EXPECT_FALSE(combo.DrawsFlat());
    EXPECT_NE(PixelAt(combo, QPoint(0, 0)), flatCorner);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&combo, &leave);
    EXPECT_FALSE(combo.MouseInside());
    EXPECT_EQ(PixelAt(combo, QPoint(0, 0)), flatCorner);

    // With the focus the platform look stays too.
    combo.show();
    combo.activateWindow();
    combo.setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    if (combo.hasFocus()) {
        EXPECT_FALSE(combo.DrawsFlat());
        EXPECT_NE(PixelAt(combo, QPoint(0, 0)), flatCorner);
        combo.clearFocus();
        QApplication::processEvents();
        EXPECT_TRUE(combo.DrawsFlat());
    } else {
        GTEST_SKIP() << "this platform plugin gives no focus to windows";
    }
}

TEST(CanvasControls, ComboSelection)
{
    QComboBox combo;
    QObject a, b;
    combo.addItem(QStringLiteral("Line"), QVariant::fromValue(static_cast<QObject*>(&a)));
    combo.addItem(QStringLiteral("Points"), QVariant::fromValue(static_cast<QObject*>(&b)));
    combo.setCurrentIndex(-1);
    EXPECT_EQ(ComboBoxSelectedText(combo), QString());
    EXPECT_EQ(ComboBoxSelectedObject(combo), nullptr);
    combo.setCurrentIndex(1);
    EXPECT_EQ(ComboBoxSelectedText(combo), QStringLiteral("Points"));
    EXPECT_EQ(ComboBoxSelectedObject(combo), &b);
}
