#include "usystem/vcl/gif/uQxGifWavctrl.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"
#include "platform/stream/ClassRegistry.h"
#include "platform/stream/ImageReader.h"
#include "platform/stream/ImageWriter.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>
#include <QtEndian>

#include <memory>

// ---- TepWave ---------------------------------------------------------------------------------

TepWave::TepWave(QObject* parent) : qx::PersistentObject(parent) {}

TepWave::~TepWave() = default;

void TepWave::LoadFromStream(QIODevice& Stream)
{
    const qint64 size = Stream.size();
    QByteArray data;
    if (size > 0) {
        data = Stream.read(size);
        if (data.size() != size)
            throw EReadError(QStringLiteral("Stream read error"));
    }
    FWaveData = data;
    Changed();
}

void TepWave::SaveToStream(QIODevice& Stream) const
{
    if (FWaveData.isEmpty())
        return;
    if (Stream.write(FWaveData) != FWaveData.size())
        throw EWriteError(QStringLiteral("Stream write error"));
}

void TepWave::LoadFromFile(const QString& FileName)
{
    QFile f(FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, f.errorString()));
    LoadFromStream(f);
}

void TepWave::SaveToFile(const QString& FileName) const
{
    qx::saveFile(FileName, [&](QIODevice& out) { SaveToStream(out); });
}

void TepWave::Assign(const QObject* Source)
{
    if (Source == nullptr) {
        Changed();
        return;
    }
    if (const auto* wave = qobject_cast<const TepWave*>(Source)) {
        FWaveData = wave->FWaveData;
        Changed();
        return;
    }
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(QString::fromLatin1(Source->metaObject()->className()),
                                 QString::fromLatin1(metaObject()->className())));
}

void TepWave::Changed()
{
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TepWave::ReadData(QIODevice& Stream) { LoadFromStream(Stream); }

void TepWave::WriteData(QIODevice& Stream) const { SaveToStream(Stream); }

void TepWave::writeExtraProperties(qx::ImageWriter& writer, const QByteArray& prefix) const
{
    QBuffer block;
    block.open(QIODevice::WriteOnly);
    WriteData(block);
    writer.writeShortBytes(prefix + "Data");
    writer.writeBinary(block.data());
}

bool TepWave::readExtraProperty(const QByteArray& name, qx::ImageReader& reader)
{
    if (qstricmp(name.constData(), "Data") != 0)
        return false;
    QByteArray bytes = reader.readBinary();
    QBuffer block(&bytes);
    block.open(QIODevice::ReadOnly);
    ReadData(block);
    return true;
}

// ---- WAV container -----------------------------------------------------------------------------

namespace qx {

bool parseWave(const QByteArray& bytes, WaveSound& sound)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    const auto u16 = [&](qsizetype at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    bool haveFormat = false;
    int format = 0;
    WaveSound found;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32(at + 4);
        const qsizetype body = at + 8;
        // A chunk that claims more than the file holds is cut at the end of the file.
        const qsizetype available = qMin<qint64>(size, bytes.size() - body);
        if (id == "fmt ") {
            if (available < 16)
                return false;
            format = u16(body);
            found.Channels = u16(body + 2);
            found.SampleRate = int(qMin<quint32>(u32(body + 4), 1u << 30));
            found.BitsPerSample = u16(body + 14);
            // The extensible header names the real format in its sub-format's first word.
            if (format == 0xFFFE && available >= 26)
                format = u16(body + 24);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return false;
            found.Samples = bytes.mid(body, available);
            break;
        }
        at = body + size + (size & 1);
    }
    if (!haveFormat || found.Samples.isEmpty() || found.Channels < 1 || found.SampleRate < 1)
        return false;
    if (format == 1 && (found.BitsPerSample == 8 || found.BitsPerSample == 16
                        || found.BitsPerSample == 32)) {
        found.FloatSamples = false;
    } else if (format == 3 && found.BitsPerSample == 32) {
        found.FloatSamples = true;
    } else {
        return false;
    }
    // Whole frames only.
    const int frame = found.Channels * found.BitsPerSample / 8;
    found.Samples.truncate(found.Samples.size() - found.Samples.size() % frame);
    if (found.Samples.isEmpty())
        return false;
    sound = std::move(found);
    return true;
}

} // namespace qx

// ---- the process's one sound ----------------------------------------------------------------

namespace {

// The platform's simple sound call plays one sound for the whole process: a new sound stops
// the one before, unless asked not to. This object stands for it.
class SoundOutput : public QObject
{
public:
    // The one output, made on first use; it goes with the application, before Qt Multimedia
    // itself is torn down.
    static SoundOutput& instance()
    {
        if (!s_output) {
            s_output = new SoundOutput;
            if (QCoreApplication* app = QCoreApplication::instance())
                s_output->setParent(app);
        }
        return *s_output;
    }
    // The output when one was made, else null.
    static SoundOutput* existing() { return s_output.data(); }

    bool playing() const { return m_sink != nullptr; }

    void stop()
    {
        if (m_wait)
            m_wait->quit();
        if (!m_sink)
            return;
        QAudioSink* sink = m_sink;
        m_sink = nullptr;
        m_samples = nullptr;
        sink->disconnect(this);
        sink->stop();
        // Later: this may run inside the sink's own signal. The samples go with it.
        sink->deleteLater();
    }

    // Returns whether the sound was started (and, when synchronous, played to its end).
    bool play(const QByteArray& wave, quint16 flags)
    {
        if ((flags & TepWavePlayer::SND_NOSTOP) && playing())
            return false;
        stop();
        if (wave.isEmpty() || !QCoreApplication::instance())
            return false;
        qx::WaveSound sound;
        if (!qx::parseWave(wave, sound))
            return false;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false;
        QAudioFormat format;
        format.setSampleRate(sound.SampleRate);
        format.setChannelCount(sound.Channels);
        format.setSampleFormat(sound.FloatSamples            ? QAudioFormat::Float
                               : sound.BitsPerSample == 8  ? QAudioFormat::UInt8
                               : sound.BitsPerSample == 16 ? QAudioFormat::Int16
                                                           : QAudioFormat::Int32);
        if (!device.isFormatSupported(format))
            return false;

        m_loop = (flags & TepWavePlayer::SND_LOOP) && (flags & TepWavePlayer::SND_ASYNC);
        m_sink = new QAudioSink(device, format);
        m_samples = new QBuffer(m_sink);
        m_samples->setData(sound.Samples);
        m_samples->open(QIODevice::ReadOnly);
        QObject::connect(m_sink, &QAudioSink::stateChanged, this,
                         [this](QAudio::State state) { stateChanged(state); });
        m_sink->start(m_samples);
        if (m_sink->error() != QAudio::NoError) {
            stop();
            return false;
        }
        if (flags & TepWavePlayer::SND_ASYNC)
            return true;

        // Synchronous: the caller goes on when the sound has ended. A device that stops
        // answering must not hold the program: the wait ends a second after the sound's
        // length at the latest.
        const qint64 frames = sound.Samples.size() / format.bytesPerFrame();
        const int limit = int(qMin<qint64>(frames * 1000 / sound.SampleRate + 1000, 60000));
        QEventLoop wait;
        QTimer::singleShot(limit, &wait, &QEventLoop::quit);
        if (playing()) {
            m_wait = &wait;
            wait.exec(QEventLoop::ExcludeUserInputEvents);
            m_wait = nullptr;
        }
        stop();
        return true;
    }

private:
    void stateChanged(QAudio::State state)
    {
        if (!m_sink)
            return;
        if (state == QAudio::IdleState && m_loop && m_sink->error() == QAudio::NoError) {
            m_samples->seek(0);
            m_sink->start(m_samples);
            return;
        }
        if (state == QAudio::IdleState || state == QAudio::StoppedState)
            stop();
    }

    static inline QPointer<SoundOutput> s_output;
    QAudioSink* m_sink = nullptr;
    QBuffer* m_samples = nullptr;
    QEventLoop* m_wait = nullptr;
    bool m_loop = false;
};

} // namespace

// ---- TepWavePlayer ----------------------------------------------------------------------------

namespace {
// Form files name the player by its class: the unit registers it as it is linked in.
const bool gWavePlayerRegistered = [] {
    qx::registerClass<TepWavePlayer>();
    return true;
}();
} // namespace

TepWavePlayer::TepWavePlayer(QObject* parent) : QObject(parent), FWave(new TepWave(this))
{
    FWave->setObjectName(QString());
    Q_UNUSED(gWavePlayerRegistered);
}

TepWavePlayer::~TepWavePlayer() { StopPlaying(); }

void TepWavePlayer::SetOptions(TOptionsSet value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    quint16 flags = SND_MEMORY;
    if (value & wpoAsync)
        flags |= SND_ASYNC;
    if (value & wpoNoDefault)
        flags |= SND_NODEFAULT;
    if (value & wpoLoop)
        flags |= SND_LOOP;
    if (value & wpoNoStop)
        flags |= SND_NOSTOP;
    FPlayFlags = flags;
}

void TepWavePlayer::SetWave(TepWave* value) { FWave->Assign(value); }

void TepWavePlayer::Play()
{
    if (BeforePlay)
        BeforePlay(this);
    if (FEnabled) {
        // A copy: the sound keeps its bytes however long it plays.
        const QByteArray bytes = FWave->WaveData();
        SoundOutput::instance().play(bytes, FPlayFlags);
    }
    if (AfterPlay)
        AfterPlay(this);
}

bool TepWavePlayer::Playing()
{
    SoundOutput* output = SoundOutput::existing();
    return output && output->playing();
}

void TepWavePlayer::StopPlaying()
{
    if (SoundOutput* output = SoundOutput::existing())
        output->stop();
}
