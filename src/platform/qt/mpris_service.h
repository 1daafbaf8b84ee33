// The desktop's media-player protocol on the session bus (MPRIS 2): media keys,
// the desktop's now-playing applet and playerctl reach the program's remote
// control through it. The object answers calls at /org/mpris/MediaPlayer2 for
// the root and the player interface, and tells listeners of every change it
// sees, polling the remote's state a few times a second.
#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QVariantMap>

#include "platform/remote_control.h"

namespace vollo::qt {

class MprisService : public QDBusVirtualObject {
    Q_OBJECT
  public:
    // identity: the player's name shown by the desktop; desktopEntry: its
    // desktop file's name without ".desktop".
    MprisService(RemoteControl& remote, QString identity, QString desktopEntry, QObject* parent = nullptr);
    ~MprisService() override;

    // Takes the bus name "org.mpris.MediaPlayer2.<desktopEntry>", or with
    // ".instance<pid>" added when another program holds it, and serves the
    // object. False, silently, when there is no session bus.
    bool start(QDBusConnection bus = QDBusConnection::sessionBus());
    const QString& serviceName() const { return serviceName_; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

    // Compares the remote's state with the last one told and signals the
    // changes; seeked: a seek was asked for, so Seeked is sent in any case.
    void refresh(bool seeked = false);

  private:
    void handleProperties(const QDBusMessage& message, const QDBusConnection& connection);
    void handlePlayerCall(const QDBusMessage& message, const QDBusConnection& connection);
    void handleRootCall(const QDBusMessage& message, const QDBusConnection& connection);
    // Replies to a call with what became of it.
    void reply(const QDBusMessage& message, const QDBusConnection& connection, RemoteOutcome outcome,
               bool seek = false);
    QVariantMap rootProperties() const;
    QVariantMap playerProperties(const RemoteState& state) const;
    void emitSeeked(const RemoteState& state);

    RemoteControl& remote_;
    QString identity_;
    QString desktopEntry_;
    QString serviceName_;
    QDBusConnection bus_;
    QTimer poll_;
    RemoteState told_;
    QElapsedTimer sinceTold_;
};

}  // namespace vollo::qt
