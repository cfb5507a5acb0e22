// The wave holder and its player: the bytes in files and in the component stream, the play
// flags, and playing where there may be no sound device at all.
#include "tests/support/SaveFault.h"
#include "usystem/vcl/gif/uQxGifWavctrl.h"

#include "platform/rtl/Exceptions.h"
#include "platform/stream/ComponentReader.h"
#include "platform/stream/ComponentWriter.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

void put16(QByteArray& b, quint16 v)
{
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

void put32(QByteArray& b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

// A small WAV file: 16-bit mono PCM at 8000 Hz (or the given format) of `frames` frames.
QByteArray wave(int frames, quint16 format = 1, quint16 channels = 1, quint16 bits = 16)
{
    QByteArray samples;
    for (int i = 0; i < frames * channels; ++i)
        for (int k = 0; k < bits / 8; ++k)
            samples.append(char((i * 37 + k) & 0x7F));
    QByteArray fmt;
    put16(fmt, format);
    put16(fmt, channels);
    put32(fmt, 8000);
    put32(fmt, 8000u * channels * bits / 8);
    put16(fmt, quint16(channels * bits / 8));
    put16(fmt, bits);
    QByteArray out("RIFF");
    put32(out, quint32(4 + 8 + fmt.size() + 8 + samples.size()));
    out.append("WAVE");
    out.append("fmt ");
    put32(out, quint32(fmt.size()));
    out.append(fmt);
    out.append("data");
    put32(out, quint32(samples.size()));
    out.append(samples);
    return out;
}

void load(TepWave& w, const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer b(&copy);
    b.open(QIODevice::ReadOnly);
    w.LoadFromStream(b);
}

} // namespace

TEST(Wave, FileRoundTripKeepsEveryByte)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("click.wav"));
    TepWave w;
    const QByteArray bytes = wave(100) + QByteArray("\0\xff\x80", 3);
    load(w, bytes);
    w.SaveToFile(file);
    TepWave back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.WaveData(), bytes);
    EXPECT_TRUE(back.Modified());
    EXPECT_THROW(back.LoadFromFile(dir.filePath(QStringLiteral("missing.wav"))), EInOutError);
    EXPECT_EQ(back.WaveData(), bytes);
}

TEST(Wave, AFailedSaveLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("click.wav"));
    TepWave w;
    load(w, wave(10));
    w.SaveToFile(file);
    load(w, wave(100000));
    {
        qxtest::SaveFault fault(qx::SaveStep::Sync, EIO);
        EXPECT_THROW(w.SaveToFile(file), EInOutError);
    }
    TepWave back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.WaveData(), wave(10));
}

TEST(Wave, LoadingReadsTheStreamsSizeFromItsPosition)
{
    TepWave w;
    int changes = 0;
    w.OnChange = [&](QObject* sender) {
        EXPECT_EQ(sender, &w);
        ++changes;
    };
    load(w, QByteArray("abcdef"));
    EXPECT_EQ(w.WaveData(), QByteArray("abcdef"));
    EXPECT_EQ(changes, 1);
    // A stream already read into holds fewer bytes than its size: an error, the wave kept.
    QByteArray more("xyz123");
    QBuffer b(&more);
    b.open(QIODevice::ReadOnly);
    b.seek(2);
    EXPECT_THROW(w.LoadFromStream(b), EReadError);
    EXPECT_EQ(w.WaveData(), QByteArray("abcdef"));
    EXPECT_EQ(changes, 1);
}

TEST(Wave, AssignCopiesAnotherWaveAndCountsAsAChange)
{
    TepWave from;
    load(from, QByteArray("RIFFdata"));
    TepWave to;
    int changes = 0;
    to.OnChange = [&](QObject*) { ++changes; };
    to.Assign(&from);
    EXPECT_EQ(to.WaveData(), QByteArray("RIFFdata"));
    EXPECT_TRUE(to.Modified());
    to.SetModified(false);
    to.Assign(nullptr);
    EXPECT_EQ(to.WaveData(), QByteArray("RIFFdata"));
    EXPECT_TRUE(to.Modified());
    EXPECT_EQ(changes, 2);
    QObject other;
    EXPECT_THROW(to.Assign(&other), EConvertError);
}

TEST(WavePlayer, OptionsMakeThePlayFlags)
{
    using P = TepWavePlayer;
    const struct
    {
        P::TOptionsSet options;
        quint16 flags;
    } cases[] = {
        {P::wpoSync, P::SND_MEMORY},
        {P::wpoAsync, P::SND_MEMORY | P::SND_ASYNC},
        {P::wpoNoDefault, P::SND_MEMORY | P::SND_NODEFAULT},
        {P::wpoAsync | P::wpoLoop, P::SND_MEMORY | P::SND_ASYNC | P::SND_LOOP},
        {P::wpoSync | P::wpoNoStop, P::SND_MEMORY | P::SND_NOSTOP},
        {P::TOptionsSet(), P::SND_MEMORY},
        {P::wpoSync | P::wpoAsync | P::wpoNoDefault | P::wpoLoop | P::wpoNoStop, 0x1F},
    };
    for (const auto& c : cases) {
        TepWavePlayer player;
        EXPECT_TRUE(player.Enabled());
        EXPECT_EQ(player.Options(), P::wpoSync);
        EXPECT_EQ(player.PlayFlags(), P::SND_MEMORY);
        player.SetOptions(c.options);
        EXPECT_EQ(player.PlayFlags(), c.flags) << int(c.options);
    }
}

TEST(WavePlayer, WaveBytesTravelThroughTheComponentStream)
{
    QObject owner;
    auto* player = new TepWavePlayer(&owner);
    player->setObjectName(QStringLiteral("ClickPlayer"));
    player->SetOptions(TepWavePlayer::wpoAsync | TepWavePlayer::wpoNoStop);
    player->SetEnabled(false);
    TepWave source;
    load(source, wave(300));
    player->SetWave(&source);
    EXPECT_EQ(player->Wave()->WaveData(), source.WaveData());

    QBuffer image;
    image.open(QIODevice::ReadWrite);
    qx::ComponentWriter(image).writeComponent(player);
    EXPECT_TRUE(image.data().contains("Wave.Data"));

    image.seek(0);
    QObject other;
    qx::ComponentReader reader(image);
    auto* back = qobject_cast<TepWavePlayer*>(reader.readComponent(&other, nullptr));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->objectName(), QStringLiteral("ClickPlayer"));
    EXPECT_EQ(back->Wave()->WaveData(), source.WaveData());
    EXPECT_EQ(back->Options(), TepWavePlayer::wpoAsync | TepWavePlayer::wpoNoStop);
    EXPECT_EQ(back->PlayFlags(), TepWavePlayer::SND_MEMORY | TepWavePlayer::SND_ASYNC
                                     | TepWavePlayer::SND_NOSTOP);
    EXPECT_FALSE(back->Enabled());
}

TEST(WavePlayer, AnEmptyWaveIsStoredToo)
{
    TepWavePlayer player;
    player.setObjectName(QStringLiteral("Silent"));
    QBuffer image;
    image.open(QIODevice::ReadWrite);
    qx::ComponentWriter(image).writeComponent(&player);
    EXPECT_TRUE(image.data().contains("Wave.Data"));
    image.seek(0);
    QObject owner;
    qx::ComponentReader reader(image);
    auto* back = qobject_cast<TepWavePlayer*>(reader.readComponent(&owner, nullptr));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->Wave()->WaveData().isEmpty());
}

TEST(WavePlayer, PlayingRaisesNothingWhateverTheDeviceOrTheBytes)
{
    const QByteArray cases[] = {
        wave(80),                     // plays where there is a device, silently where not
        QByteArray(),                 // no sound
        QByteArray("not a wave at all"),
        wave(80, 2),                  // compressed: not playable here
        wave(40, 3, 2, 32),           // float stereo
    };
    for (const QByteArray& bytes : cases) {
        TepWavePlayer player;
        QStringList calls;
        player.BeforePlay = [&](QObject* s) {
            EXPECT_EQ(s, &player);
            calls << QStringLiteral("before");
        };
        player.AfterPlay = [&](QObject*) { calls << QStringLiteral("after"); };
        load(*player.Wave(), bytes);
        EXPECT_NO_THROW(player.Play());
        // Synchronous by default: nothing is left playing once Play returns.
        EXPECT_FALSE(TepWavePlayer::Playing());
        EXPECT_EQ(calls, (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
    }
}

TEST(WavePlayer, ADisabledPlayerStillTellsItsHandlers)
{
    TepWavePlayer player;
    player.SetEnabled(false);
    player.SetOptions(TepWavePlayer::wpoAsync);
    load(*player.Wave(), wave(8000));
    int before = 0;
    int after = 0;
    player.BeforePlay = [&](QObject*) { ++before; };
    player.AfterPlay = [&](QObject*) { ++after; };
    player.Play();
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_FALSE(TepWavePlayer::Playing());
}

TEST(WaveSound, TheContainerIsReadForItsFormatAndSamples)
{
    const struct
    {
        QByteArray bytes;
        bool playable;
        int channels;
        int bits;
        bool isFloat;
        int sampleBytes;
    } cases[] = {
        {wave(10), true, 1, 16, false, 20},
        {wave(10, 1, 2, 8), true, 2, 8, false, 20},
        {wave(10, 3, 1, 32), true, 1, 32, true, 40},
        {wave(10, 1, 1, 24), false, 0, 0, false, 0},
        {wave(10, 2), false, 0, 0, false, 0},
        {wave(0), false, 0, 0, false, 0},
        {wave(10).left(30), false, 0, 0, false, 0},      // cut inside the format
        {wave(10).left(44 + 7), true, 1, 16, false, 6}, // cut inside the samples: whole frames
        {QByteArray("RIFX....WAVE"), false, 0, 0, false, 0},
    };
    for (const auto& c : cases) {
        qx::WaveSound sound;
        EXPECT_EQ(qx::parseWave(c.bytes, sound), c.playable) << c.bytes.size();
        if (!c.playable)
            continue;
        EXPECT_EQ(sound.SampleRate, 8000);
        EXPECT_EQ(sound.Channels, c.channels);
        EXPECT_EQ(sound.BitsPerSample, c.bits);
        EXPECT_EQ(sound.FloatSamples, c.isFloat);
        EXPECT_EQ(sound.Samples.size(), c.sampleBytes);
    }
}
