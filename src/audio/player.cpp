#include "player.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace audio {

Player::Player(QObject *parent)
    : QObject(parent)
{
}

Player::~Player() = default;

void Player::ensurePlayer()
{
    if (m_player)
        return;
    // Qt may also carry its preview FFmpeg backend; this program plays through GStreamer.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    // The playback state says Playing for a file that never opened: the media status
    // and the error tell.
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (!m_pending)
            return;
        switch (status) {
        case QMediaPlayer::LoadedMedia:
        case QMediaPlayer::BufferingMedia:
        case QMediaPlayer::BufferedMedia:
        case QMediaPlayer::EndOfMedia:
            // A picture or a silent video opens as well.
            if (!m_player->hasAudio()) {
                dropPlayer(u"Dosyada ses yok."_s);
                break;
            }
            m_pending = false;
            emit started(m_slot, m_path);
            break;
        case QMediaPlayer::InvalidMedia:
            dropPlayer(m_player->errorString());
            break;
        default:
            break;
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error, const QString &text) {
        if (m_pending)
            dropPlayer(text);
    });
}

// QMediaPlayer::stop waits up to a second for the pipeline to pause; an empty source
// stops and closes at once.
void Player::close()
{
    if (m_player && !m_player->source().isEmpty())
        m_player->setSource(QUrl());
}

void Player::fail(const QString &reason)
{
    m_pending = false;
    close();
    emitFailed(reason);
}

// Emptying the source of a player that has just failed waits a second for its pipeline:
// the player is dropped whole and a fresh one made.
void Player::dropPlayer(const QString &reason)
{
    m_pending = false;
    disconnect(m_player, nullptr, this, nullptr);
    m_player->deleteLater();
    m_output->deleteLater();
    m_player = nullptr;
    m_output = nullptr;
    ensurePlayer();
    emitFailed(reason);
}

void Player::emitFailed(const QString &reason)
{
    emit failed(m_slot, m_path, reason.isEmpty() ? u"Dosya açılamadı."_s : reason);
}

void Player::mp3cal(const QString &path, int slot)
{
    m_paused = false;
    m_pending = false;
    close();
    m_path = path;
    m_slot = slot;
    m_pending = true;
    const QFileInfo info(path);
    if (!info.isFile()) {
        fail(info.exists() ? u"Bir dosya değil."_s : u"Dosya bulunamadı."_s);
        return;
    }
    if (!info.isReadable()) {
        fail(u"Dosya okunamıyor."_s);
        return;
    }
    ensurePlayer();
    m_player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (m_pending)
        m_player->play();
}

void Player::mp3duraklat()
{
    if (m_paused) {
        if (m_player)
            m_player->play();
        m_paused = false;
    } else {
        if (m_player)
            m_player->pause();
        m_paused = true;
    }
}

void Player::stop()
{
    m_paused = false;
    m_pending = false;
    close();
}

} // namespace audio
