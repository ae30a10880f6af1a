#ifndef ZENDRIK_TESTS_CONTROLS_H
#define ZENDRIK_TESTS_CONTROLS_H

#include "app/StatusBarPanel.h"

#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace testsupport {

// Each window (designer name FormN) and each frame laid into one (FrameN) names its controls apart
// from the others: "Button18" of the coverage view is not "Button18" of the main window.
inline bool IsNamingScope(const QObject& o)
{
    static const QRegularExpression scope(QStringLiteral("^(Form|Frame)[0-9]+$"));
    return o.isWidgetType() && scope.match(o.objectName()).hasMatch();
}

// Every object of that objectName in scope, outside the windows and frames within it.
inline void FindInScope(const QObject& scope, const QString& name, QObjectList& found)
{
    for (QObject* child : scope.children()) {
        if (child->objectName() == name)
            found << child;
        if (!IsNamingScope(*child))
            FindInScope(*child, name, found);
    }
}

// A control found by its designer name (its objectName), as a maintainer finds it from the
// documentation. A missing control, two of that name, or one of another kind fails the test with
// its name.
template <class T = QWidget>
T& Control(const QObject& scope, const QString& name)
{
    QObjectList found;
    FindInScope(scope, name, found);
    T* control = found.size() == 1 ? qobject_cast<T*>(found.front()) : nullptr;
    if (!control)
        throw std::runtime_error(std::to_string(found.size()) + " controls named " + name.toStdString()
                                 + " in " + scope.objectName().toStdString() + ", wanted one "
                                 + T::staticMetaObject.className());
    return *control;
}

// A status-bar panel found by its name in StatusBarPanel (its objectName, "StatusPanel" and its
// place, follows the order of StatusBarPanel), so that a panel added or moved leaves tests right.
template <class T = QWidget>
T& StatusPanelControl(const QObject& window, StatusBarPanel panel)
{
    return Control<T>(window, QStringLiteral("StatusPanel%1").arg(PanelIndex(panel)));
}

} // namespace testsupport

#endif
