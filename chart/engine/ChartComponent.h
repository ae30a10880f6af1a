#ifndef ZENDRIK_CHART_ENGINE_CHARTCOMPONENT_H
#define ZENDRIK_CHART_ENGINE_CHARTCOMPONENT_H

#include <QString>
#include <vector>

// What the chart parts need of a component: a name, the loading/destroying/design states and
// mutual free notification, so that whoever refers to a component without owning it (a tool
// bound to a series, a source feeding a series) hears when it goes away.
class ChartComponent {
public:
    ChartComponent() = default;
    virtual ~ChartComponent();
    ChartComponent(const ChartComponent&) = delete;
    ChartComponent& operator=(const ChartComponent&) = delete;

    const QString& Name() const { return name_; }
    void SetName(const QString& name) { name_ = name; }
    virtual QString ClassName() const { return QStringLiteral("TComponent"); }
    // The name, or the class name when the component has none (for messages).
    QString NameOrClassName() const { return name_.isEmpty() ? ClassName() : name_; }

    bool Loading() const { return loading_; }
    void SetLoading(bool value) { loading_ = value; }
    bool Destroying() const { return destroying_; }
    bool Designing() const { return designing_; }
    void SetDesigning(bool value) { designing_ = value; }

    // Both components tell each other when one of them is destroyed.
    void FreeNotification(ChartComponent* other);
    void RemoveFreeNotification(ChartComponent* other);

protected:
    // Called on this component while another one it registered with is being destroyed.
    virtual void Notification(ChartComponent* removed) { (void)removed; }
    // Derived destructors call this first, so that code run during teardown can tell.
    void MarkDestroying() { destroying_ = true; }

private:
    QString name_;
    bool loading_ = false;
    bool destroying_ = false;
    bool designing_ = false;
    std::vector<ChartComponent*> notifies_;
};

#endif
