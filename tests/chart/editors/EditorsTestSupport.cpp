#include "EditorsTestSupport.h"

#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Editor options never reach the user's own settings from a test.
class RedirectedSettings : public ::testing::Environment {
public:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    }

private:
    QTemporaryDir dir_;
};

[[maybe_unused]] const auto* const kSettings = ::testing::AddGlobalTestEnvironment(new RedirectedSettings);

void Click(QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

} // namespace

TestDialogs::TestDialogs()
{
    Hooks.RunModal = [this](QDialog& dialog) {
        ++ModalRuns;
        dialog.setResult(QDialog::Rejected);
        if (Drive)
            Drive(dialog);
        return dialog.result();
    };
    Hooks.Color = [this](QWidget*, TColor old) { return NextColor == clNone ? old : NextColor; };
    Hooks.PictureFile = [this](QWidget*, const QString&) { return NextPictureFile; };
    Hooks.YesNo = [this](QWidget*, const QString& message) {
        Questions << message;
        return Answer;
    };
    Hooks.Error = [this](QWidget*, const QString& message) { Errors << message; };
}

void ClickOk(QDialog& dialog)
{
    Click(dialog, "OKButton");
}

void ClickCancel(QDialog& dialog)
{
    Click(dialog, "CancelButton");
}
