// What screen readers learn of the gradient bar: a progress bar whose value is the transfer's
// position in percent, and which is busy while it sweeps.
#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class CGradientBarCtrl;

class CGradientBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CGradientBarAccessible(CGradientBarCtrl* bar);

    // Installs the factory that gives every gradient bar this interface; safe to call often.
    static void Install();

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // While the bar sweeps it has no position: minimum and maximum are both 0, as for any busy
    // progress bar.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    const CGradientBarCtrl* Bar() const;
};
