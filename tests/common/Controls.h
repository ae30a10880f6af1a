#ifndef ZENDRIK_TESTS_CONTROLS_H
#define ZENDRIK_TESTS_CONTROLS_H

#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace testsupport {

// A frame laid into a window, or a window of its own, names its controls apart from the window
// that holds it: "Button18" of the coverage view is not "Button18" of the main window.
inline bool IsNamingScope(const QObject& o)
{
    static const QRegularExpression frame(QStringLiteral("^Frame[0-9]+$"));
    const auto* w = qobject_cast<const QWidget*>(&o);
    return w && ((w->isWindow() && !w->inherits("QMenu")) || frame.match(w->objectName()).hasMatch());
}

// The object of that objectName in scope, outside the frames and windows laid into it; null when
// there is none.
inline QObject* FindInScope(const QObject& scope, const QString& name)
{
    for (QObject* child : scope.children()) {
        if (child->objectName() == name)
            return child;
        if (IsNamingScope(*child))
            continue;
        if (QObject* found = FindInScope(*child, name))
            return found;
    }
    return nullptr;
}

// A control found by its designer name (its objectName), as a maintainer finds it from the
// documentation. A missing control, or one of another kind, fails the test with its name.
template <class T = QWidget>
T& Control(const QObject& scope, const QString& name)
{
    QObject* found = FindInScope(scope, name);
    T* control = qobject_cast<T*>(found);
    if (!control)
        throw std::runtime_error((found ? "not a " + std::string(T::staticMetaObject.className()) + ": "
                                        : std::string("no control named ")) +
                                 name.toStdString() + " in " + scope.objectName().toStdString());
    return *control;
}

} // namespace testsupport

#endif
