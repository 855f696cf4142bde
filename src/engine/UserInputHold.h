// Holds back keyboard and mouse input delivered while a blocking network call waits, and hands
// it back, in order, when the wait ends: the operator cannot work the controls during a wait.
#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class QEvent;

class CUserInputHold : public QObject {
public:
    // Watches every event of the application's thread from here on (no-op without one, and in
    // any other thread).
    CUserInputHold();
    // Stops watching and posts the held events again.
    ~CUserInputHold() override;

    static bool IsUserInput(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HeldEvent {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<HeldEvent> m_held;
    bool m_bInstalled = false;
};
