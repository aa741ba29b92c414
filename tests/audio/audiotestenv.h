#pragma once

#include <QString>
#include <QStringList>

// Sound without a sound card: GStreamer plays into its fake sink in real time (every
// real sink and device ranked away, no sound server), and the mixer is the test control
// plugin. Call before QApplication is made.
namespace audiotest {

void quietEnvironment();

// Points ALSA at a configuration whose "default" control is the test plugin with a
// "Master" of the given range, logging every write to a file; returns the log's path.
// The files live in a folder of the process's own.
QString useTestMixer(long min, long max);
// Points ALSA at a configuration that has no "default" control at all.
void useNoMixer();
// The values written since useTestMixer, one "left right" line each.
QStringList mixerWrites();

// A mono 16-bit PCM WAV of the given length (a quiet tone).
void writeWav(const QString &path, int milliseconds);

} // namespace audiotest

// main for a test of sound: the environment first, then the test class.
#define QEL_AUDIO_TEST_MAIN(TestClass)                                                                                 \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        audiotest::quietEnvironment();                                                                                 \
        QApplication app(argc, argv);                                                                                  \
        TestClass tc;                                                                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
