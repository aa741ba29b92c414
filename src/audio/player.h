#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;
class QAudioOutput;

namespace audio {

// The one playback device: a play closes what played before and opens and starts its
// file; pause toggles; stop stops and closes. The media player is made on the first
// play. Whether a file plays is known only once the player has looked at it: started or
// failed follows every play.
class Player : public QObject {
    Q_OBJECT
public:
    explicit Player(QObject *parent = nullptr);
    ~Player() override;

    // slot is handed back with started or failed.
    void mp3cal(const QString &path, int slot);
    void mp3duraklat();
    void stop();

    bool duraklatildi() const { return m_paused; }
    // Nullptr until the first play.
    QMediaPlayer *mediaPlayer() const { return m_player; }

signals:
    void started(int slot, const QString &path);
    void failed(int slot, const QString &path, const QString &reason);

private:
    void ensurePlayer();
    void close();
    void fail(const QString &reason);
    void dropPlayer(const QString &reason);
    void emitFailed(const QString &reason);

    QMediaPlayer *m_player = nullptr;
    QAudioOutput *m_output = nullptr;
    QString m_path;
    int m_slot = 0;
    bool m_pending = false; // a play waits for the player's verdict
    bool m_paused = false;
};

} // namespace audio
