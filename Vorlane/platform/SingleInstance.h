#pragma once

#include <QObject>
#include <QStringList>

#include <cstdint>

// One Vorlane per session. The first start owns the session-bus name "com.ostrel.Vorlane"; a
// later start hands its request over to that instance and exits. Without a session bus every
// start is a first start.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Request
    {
        reopen,
        toggle,
        // The desktop entry's actions: the window in the middle of the main display, at its
        // current size or at its first one.
        centerWindow,
        resetWindowSize
    };

    static const QString serviceName;
    static const QString objectPath;
    static const QString interfaceName;

    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process now owns the name (or there is no bus to share one on).
    bool claim();
    // Passes the request to the running instance, with what the desktop gave this process to
    // let a window take the focus (the X11 startup identifier, the Wayland activation token),
    // so the running one may. False when nothing answered.
    static bool handOver(Request request, const QString& startupId, const QString& activationToken);

    // The X server time of a desktop startup identifier ("..._TIME12345"), 0 when it has none.
    static std::uint32_t timestampFromStartupId(const QString& startupId);

Q_SIGNALS:
    // Another start asked for the window; timestamp is its user-input time, 0 when unknown.
    // Its activation token, if it had one, is where Qt's Wayland support takes it from when the
    // window asks to be activated.
    void reopenRequested(std::uint32_t timestamp);
    void toggleRequested(std::uint32_t timestamp);
    void centerWindowRequested(std::uint32_t timestamp);
    void resetWindowSizeRequested(std::uint32_t timestamp);

private:
    bool m_ownsName = false;
};
