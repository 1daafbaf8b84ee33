#include "platform/qt/mpris_service.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QStringList>
#include <cmath>

#include "platform/qt/file_uris.h"

namespace vollo::qt {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kNoTrack = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
// Players name their tracks outside /org/mpris.
const QString kTrackPrefix = QStringLiteral("/org/vollo/track/");
const QString kBusyError = QStringLiteral("org.mpris.MediaPlayer2.vollo.Busy");
// A poll every quarter second: changes reach listeners at most four times a
// second, and a song that simply plays changes nothing they are told of.
constexpr int kPollMilliseconds = 250;
// A position further than this from where playing on would have taken it was a seek.
constexpr double kSeekToleranceSeconds = 1.0;

qlonglong micros(double seconds) {
    return static_cast<qlonglong>(std::llround(seconds * 1e6));
}

QString statusText(RemoteState::Status status) {
    switch (status) {
        case RemoteState::Status::Playing:
            return QStringLiteral("Playing");
        case RemoteState::Status::Paused:
            return QStringLiteral("Paused");
        case RemoteState::Status::Stopped:
            break;
    }
    return QStringLiteral("Stopped");
}

QString trackId(const RemoteState& state) {
    if (state.entry >= 0) {
        return kTrackPrefix + QString::number(state.entry);
    }
    return state.path.empty() ? kNoTrack : kTrackPrefix + QStringLiteral("loaded");
}

QVariantMap metadata(const RemoteState& state) {
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId(state))));
    if (state.path.empty()) {
        return map;
    }
    map.insert(QStringLiteral("xesam:title"), QString::fromStdString(state.title));
    map.insert(QStringLiteral("xesam:url"), fileUriOf(state.path));
    if (state.lengthSeconds > 0) {
        map.insert(QStringLiteral("mpris:length"), micros(state.lengthSeconds));
    }
    return map;
}

const char* const kIntrospection = R"(<interface name="org.mpris.MediaPlayer2">
  <method name="Raise"/>
  <method name="Quit"/>
  <property name="CanQuit" type="b" access="read"/>
  <property name="CanRaise" type="b" access="read"/>
  <property name="HasTrackList" type="b" access="read"/>
  <property name="Identity" type="s" access="read"/>
  <property name="DesktopEntry" type="s" access="read"/>
  <property name="SupportedUriSchemes" type="as" access="read"/>
  <property name="SupportedMimeTypes" type="as" access="read"/>
</interface>
<interface name="org.mpris.MediaPlayer2.Player">
  <method name="Next"/>
  <method name="Previous"/>
  <method name="Pause"/>
  <method name="PlayPause"/>
  <method name="Stop"/>
  <method name="Play"/>
  <method name="Seek"><arg direction="in" name="Offset" type="x"/></method>
  <method name="SetPosition">
    <arg direction="in" name="TrackId" type="o"/>
    <arg direction="in" name="Position" type="x"/>
  </method>
  <method name="OpenUri"><arg direction="in" name="Uri" type="s"/></method>
  <signal name="Seeked"><arg name="Position" type="x"/></signal>
  <property name="PlaybackStatus" type="s" access="read"/>
  <property name="LoopStatus" type="s" access="readwrite"/>
  <property name="Rate" type="d" access="readwrite"/>
  <property name="Shuffle" type="b" access="readwrite"/>
  <property name="Metadata" type="a{sv}" access="read"/>
  <property name="Volume" type="d" access="readwrite"/>
  <property name="Position" type="x" access="read"/>
  <property name="MinimumRate" type="d" access="read"/>
  <property name="MaximumRate" type="d" access="read"/>
  <property name="CanGoNext" type="b" access="read"/>
  <property name="CanGoPrevious" type="b" access="read"/>
  <property name="CanPlay" type="b" access="read"/>
  <property name="CanPause" type="b" access="read"/>
  <property name="CanSeek" type="b" access="read"/>
  <property name="CanControl" type="b" access="read"/>
</interface>
)";

}  // namespace

MprisService::MprisService(RemoteControl& remote, QString identity, QString desktopEntry, QObject* parent)
    : QDBusVirtualObject(parent),
      remote_(remote),
      identity_(std::move(identity)),
      desktopEntry_(std::move(desktopEntry)),
      bus_(QString()) {
    poll_.setInterval(kPollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, [this] { refresh(); });
}

MprisService::~MprisService() {
    if (!serviceName_.isEmpty()) {
        bus_.unregisterObject(kObjectPath);
        bus_.unregisterService(serviceName_);
    }
}

bool MprisService::start(QDBusConnection bus) {
    if (!bus.isConnected()) {
        return false;
    }
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.") + desktopEntry_;
    QString chosen = name;
    if (!bus.registerService(chosen)) {
        chosen = name + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid());
        if (!bus.registerService(chosen)) {
            return false;
        }
    }
    if (!bus.registerVirtualObject(kObjectPath, this, QDBusConnection::SingleNode)) {
        bus.unregisterService(chosen);
        return false;
    }
    bus_ = bus;
    serviceName_ = chosen;
    told_ = remote_.state();
    sinceTold_.start();
    poll_.start();
    return true;
}

QString MprisService::introspect(const QString&) const {
    return QString::fromLatin1(kIntrospection);
}

bool MprisService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.type() != QDBusMessage::MethodCallMessage) {
        return false;
    }
    const QString interface = message.interface();
    if (interface == kPropertiesInterface) {
        handleProperties(message, connection);
    } else if (interface == kPlayerInterface) {
        handlePlayerCall(message, connection);
    } else if (interface == kRootInterface) {
        handleRootCall(message, connection);
    } else {
        return false;
    }
    return true;
}

void MprisService::reply(const QDBusMessage& message, const QDBusConnection& connection,
                         RemoteOutcome outcome, bool seek) {
    switch (outcome) {
        case RemoteOutcome::Done:
            connection.send(message.createReply());
            refresh(seek);
            return;
        case RemoteOutcome::Busy:
            connection.send(message.createErrorReply(
                kBusyError,
                QStringLiteral("Vollo is waiting for an answer in one of its windows; try again then.")));
            return;
        case RemoteOutcome::Unsupported:
            connection.send(message.createErrorReply(
                QDBusError::NotSupported,
                QStringLiteral(
                    "Vollo plays local .mp3, .wav, .mid and .avi files only, and not while it closes.")));
            return;
    }
}

void MprisService::handleRootCall(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString member = message.member();
    if (member != QLatin1String("Raise") && member != QLatin1String("Quit")) {
        connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
        return;
    }
    const auto action =
        member == QLatin1String("Raise") ? RemoteControl::Action::Raise : RemoteControl::Action::Quit;
    if (remote_.busy()) {
        reply(message, connection, RemoteOutcome::Busy);
        return;
    }
    // Answered first: the exit path may ask its question and then end the
    // program, and the caller must not wait for either.
    connection.send(message.createReply());
    QTimer::singleShot(0, this, [this, action] { remote_.act(action); });
}

void MprisService::handlePlayerCall(const QDBusMessage& message, const QDBusConnection& connection) {
    using Action = RemoteControl::Action;
    static const std::pair<const char*, Action> kActions[] = {
        {"Play", Action::Play}, {"Pause", Action::Pause}, {"PlayPause", Action::PlayPause},
        {"Stop", Action::Stop}, {"Next", Action::Next},   {"Previous", Action::Previous},
    };
    const QString member = message.member();
    const QVariantList args = message.arguments();
    for (const auto& [name, action] : kActions) {
        if (member == QLatin1String(name)) {
            reply(message, connection, remote_.act(action));
            return;
        }
    }
    if (member == QLatin1String("Seek") && args.size() == 1) {
        reply(message, connection, remote_.seekBy(static_cast<double>(args[0].toLongLong()) / 1e6), true);
    } else if (member == QLatin1String("SetPosition") && args.size() == 2) {
        const RemoteState state = remote_.state();
        const double seconds = static_cast<double>(args[1].toLongLong()) / 1e6;
        // A stale track or a place outside the song is ignored, as the protocol asks.
        if (args[0].value<QDBusObjectPath>().path() != trackId(state) || seconds < 0 ||
            (state.lengthSeconds > 0 && seconds > state.lengthSeconds)) {
            connection.send(message.createReply());
            return;
        }
        reply(message, connection, remote_.setPosition(seconds), true);
    } else if (member == QLatin1String("OpenUri") && args.size() == 1) {
        const auto path = localFileOf(QUrl(args[0].toString()));
        if (!path) {
            connection.send(message.createErrorReply(QDBusError::NotSupported,
                                                     QStringLiteral("Vollo opens local files only.")));
            return;
        }
        reply(message, connection, remote_.openFile(*path));
    } else {
        connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
    }
}

void MprisService::handleProperties(const QDBusMessage& message, const QDBusConnection& connection) {
    const QString member = message.member();
    const QVariantList args = message.arguments();
    const QString interface = args.value(0).toString();
    if (interface != kRootInterface && interface != kPlayerInterface) {
        connection.send(message.createErrorReply(QDBusError::UnknownInterface, interface));
        return;
    }
    const QVariantMap all =
        interface == kRootInterface ? rootProperties() : playerProperties(remote_.state());
    if (member == QLatin1String("GetAll")) {
        connection.send(message.createReply(QVariant(all)));
        return;
    }
    const QString name = args.value(1).toString();
    if (!all.contains(name)) {
        connection.send(message.createErrorReply(QDBusError::UnknownProperty, name));
        return;
    }
    if (member == QLatin1String("Get")) {
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(all.value(name)))));
        return;
    }
    if (member != QLatin1String("Set") || args.size() != 3) {
        connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
        return;
    }
    const QVariant value = args[2].value<QDBusVariant>().variant();
    if (interface == kPlayerInterface && name == QLatin1String("LoopStatus")) {
        const QString loop = value.toString();
        if (loop != QLatin1String("None") && loop != QLatin1String("Track") &&
            loop != QLatin1String("Playlist")) {
            connection.send(message.createErrorReply(QDBusError::InvalidArgs, loop));
            return;
        }
        // Repeat always means the whole playlist: "Track" turns it on as well.
        reply(message, connection, remote_.setRepeat(loop != QLatin1String("None")));
    } else if (interface == kPlayerInterface && name == QLatin1String("Shuffle")) {
        reply(message, connection, remote_.setShuffle(value.toBool()));
    } else if (interface == kPlayerInterface && name == QLatin1String("Volume")) {
        reply(message, connection, remote_.setVolume(value.toDouble()));
    } else if (interface == kPlayerInterface && name == QLatin1String("Rate")) {
        connection.send(message.createReply());  // the one rate there is
    } else {
        connection.send(message.createErrorReply(QDBusError::PropertyReadOnly, name));
    }
}

QVariantMap MprisService::rootProperties() const {
    return {
        {QStringLiteral("CanQuit"), true},
        {QStringLiteral("CanRaise"), true},
        {QStringLiteral("HasTrackList"), false},
        {QStringLiteral("Identity"), identity_},
        {QStringLiteral("DesktopEntry"), desktopEntry_},
        {QStringLiteral("SupportedUriSchemes"), QStringList{QStringLiteral("file")}},
        // As the desktop entry lists them.
        {QStringLiteral("SupportedMimeTypes"),
         QStringList{QStringLiteral("audio/mpeg"), QStringLiteral("audio/x-wav"),
                     QStringLiteral("audio/midi"), QStringLiteral("video/x-msvideo")}},
    };
}

QVariantMap MprisService::playerProperties(const RemoteState& state) const {
    return {
        {QStringLiteral("PlaybackStatus"), statusText(state.status)},
        {QStringLiteral("LoopStatus"), state.repeat ? QStringLiteral("Playlist") : QStringLiteral("None")},
        {QStringLiteral("Rate"), 1.0},
        {QStringLiteral("Shuffle"), state.shuffle},
        {QStringLiteral("Metadata"), metadata(state)},
        {QStringLiteral("Volume"), state.volume},
        {QStringLiteral("Position"), micros(state.positionSeconds)},
        {QStringLiteral("MinimumRate"), 1.0},
        {QStringLiteral("MaximumRate"), 1.0},
        {QStringLiteral("CanGoNext"), state.canGoNext},
        {QStringLiteral("CanGoPrevious"), state.canGoPrevious},
        {QStringLiteral("CanPlay"), state.canPlay},
        {QStringLiteral("CanPause"), state.canPause},
        {QStringLiteral("CanSeek"), state.canSeek},
        {QStringLiteral("CanControl"), true},
    };
}

void MprisService::emitSeeked(const RemoteState& state) {
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, kPlayerInterface, QStringLiteral("Seeked"));
    signal << micros(state.positionSeconds);
    bus_.send(signal);
}

void MprisService::refresh(bool seeked) {
    if (serviceName_.isEmpty() || remote_.busy()) {
        return;
    }
    const RemoteState now = remote_.state();
    const double elapsed = static_cast<double>(sinceTold_.restart()) / 1000.0;
    const RemoteState before = told_;
    told_ = now;

    // A jump of the position within the same song, however it was made, is a seek.
    const bool sameSong = now.path == before.path && now.entry == before.entry;
    if (seeked) {
        emitSeeked(now);
    } else if (sameSong && now.status != RemoteState::Status::Stopped && before.status == now.status) {
        const double expected =
            before.positionSeconds + (now.status == RemoteState::Status::Playing ? elapsed : 0.0);
        if (std::abs(now.positionSeconds - expected) > kSeekToleranceSeconds) {
            emitSeeked(now);
        }
    }
    if (now.sameExceptPosition(before)) {
        return;
    }
    const QVariantMap was = playerProperties(before);
    QVariantMap changed = playerProperties(now);
    changed.remove(QStringLiteral("Position"));  // listeners follow it through Seeked
    for (auto it = changed.begin(); it != changed.end();) {
        it = it.value() == was.value(it.key()) ? changed.erase(it) : std::next(it);
    }
    if (changed.isEmpty()) {
        return;
    }
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    bus_.send(signal);
}

}  // namespace vollo::qt
