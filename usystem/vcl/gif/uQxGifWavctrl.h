// A sound carried inside a form file and its player. TepWave holds the bytes of a WAV file
// and keeps them in the component stream as the byte block "Data"; TepWavePlayer plays its
// wave from memory. A machine without a sound device plays nothing and reports nothing: a
// button's hover sound is a nicety, never a reason to stop the user.
#pragma once

#include "platform/stream/Persistent.h"
#include "platform/ui/Events.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QIODevice;

class TepWave : public qx::PersistentObject
{
    Q_OBJECT

public:
    explicit TepWave(QObject* parent = nullptr);
    ~TepWave() override;

    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    // The bytes of the WAV file.
    const QByteArray& WaveData() const { return FWaveData; }

    // Takes the stream's full size as the wave's size and reads that many bytes from the
    // stream's current position; a stream that holds fewer raises EReadError and leaves the
    // wave as it was.
    void LoadFromStream(QIODevice& Stream);
    // Writes every byte of the wave; a refused write raises EWriteError.
    void SaveToStream(QIODevice& Stream) const;
    virtual void LoadFromFile(const QString& FileName);
    virtual void SaveToFile(const QString& FileName) const;

    // From another wave its bytes; from nothing, nothing. Both count as a change. Any other
    // source raises EConvertError.
    void Assign(const QObject* Source);
    // Modified := true, then OnChange.
    void Changed();

    TNotifyEvent OnChange;

    // The byte block "Data", written always (an empty wave too).
    void writeExtraProperties(qx::ImageWriter& writer, const QByteArray& prefix) const override;
    bool readExtraProperty(const QByteArray& name, qx::ImageReader& reader) override;

protected:
    // The reader and writer of "Data".
    virtual void ReadData(QIODevice& Stream);
    virtual void WriteData(QIODevice& Stream) const;

private:
    bool FModified = false;
    QByteArray FWaveData;
};

class TepWavePlayer : public QObject, public qx::Streamable
{
    Q_OBJECT
    Q_CLASSINFO("QxDefaults", "Options=[wpoSync]")
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TOptionsSet Options READ Options WRITE SetOptions)
    Q_PROPERTY(TepWave* Wave READ Wave WRITE SetWave)

public:
    enum TepWavePlayOpt { wpoSync = 0x1, wpoAsync = 0x2, wpoNoDefault = 0x4, wpoLoop = 0x8,
                          wpoNoStop = 0x10 };
    Q_DECLARE_FLAGS(TOptionsSet, TepWavePlayOpt)
    Q_FLAG(TOptionsSet)

    // The flags of the platform's simple sound call.
    static constexpr quint16 SND_SYNC = 0x0000;
    static constexpr quint16 SND_ASYNC = 0x0001;
    static constexpr quint16 SND_NODEFAULT = 0x0002;
    static constexpr quint16 SND_MEMORY = 0x0004;
    static constexpr quint16 SND_LOOP = 0x0008;
    static constexpr quint16 SND_NOSTOP = 0x0010;

    explicit TepWavePlayer(QObject* parent = nullptr);
    // Stops the sound being played.
    ~TepWavePlayer() override;

    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TOptionsSet Options() const { return FOptions; }
    void SetOptions(TOptionsSet value);
    quint16 PlayFlags() const { return FPlayFlags; }
    TepWave* Wave() const { return FWave; }
    // Copies the given wave into the player's own.
    void SetWave(TepWave* value);

    // BeforePlay, the sound when Enabled, AfterPlay. With wpoSync the call returns when the
    // sound has ended; without a sound device or with bytes that are no playable wave, nothing
    // is heard and nothing is raised.
    void Play();

    TNotifyEvent BeforePlay;
    TNotifyEvent AfterPlay;

    // Whether a sound of the process is being played now.
    static bool Playing();
    // Stops it.
    static void StopPlaying();

private:
    int FTag = 0;
    bool FEnabled = true;
    TOptionsSet FOptions = wpoSync;
    quint16 FPlayFlags = SND_MEMORY;
    TepWave* FWave = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TepWavePlayer::TOptionsSet)

namespace qx {

// The playable content of WAV bytes: the sample format and the samples. Exposed for the tests.
struct WaveSound
{
    int SampleRate = 0;
    int Channels = 0;
    int BitsPerSample = 0;
    bool FloatSamples = false;
    QByteArray Samples;
};
// Reads the RIFF "WAVE" container; false for anything that is not PCM (8, 16 or 32 bits) or
// 32-bit float samples.
bool parseWave(const QByteArray& bytes, WaveSound& sound);

} // namespace qx
