#ifndef ZENDRIK_FORMS_RAMPDIAGRAM_H
#define ZENDRIK_FORMS_RAMPDIAGRAM_H

#include <QWidget>

// The power ramp's shape in the generator view: a red frame and the trapezoid low, rise, high,
// fall, low, drawn at whole percentages of the box. The ramp's fields are placed over it.
class RampDiagram : public QWidget {
    Q_OBJECT
public:
    explicit RampDiagram(QWidget* parent = nullptr);

signals:
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};

#endif
