// Saving a file so that a failure can never leave it empty or half written. Every file the
// system writes goes through here: settings files, memory-table files, barcode lists, grid
// layouts, the input-code dictionary, and every later writer (exports, page files, templates).
//
// How a save goes:
//   1. A temporary file is made beside the target (same folder, so the same file system), named
//      "<target>.<8 hex digits>~", with the target's permissions when it exists.
//   2. Every write reaches the file through write(2) and is checked; the first failure is kept,
//      and every later write and the commit fail with it. The device buffers 64 KiB, so many
//      small writes (QDataStream) cost few system calls.
//   3. commit() writes out the buffer, fsync()s and closes the file, checking each step, and
//      only then renames it over the target; the folder is synced after that.
//   4. On any failure, and when the object goes without commit(), the temporary file is removed
//      and the target keeps every byte it had.
// Failures raise ESaveError, an EInOutError: "Cannot create file \"<path>\". <reason>" when the
// temporary file cannot be made (or the target is read-only), "Cannot write file \"<path>\".
// <reason>" for everything after; the reason is the operating system's (qx::systemErrorText).
// A writer with message texts of its own takes Reason() into them.
//
// Do not use QSaveFile for this: Qt 6.4's commit() returns true when the last buffered bytes
// fail to reach a full disk, and the rename then puts an empty or cut file in the target's place.
//
// The simple way for a writer:
//     qx::saveFile(fileName, [&](QIODevice& out) { SaveToStream(out); });
// A writer that needs the device longer (or writes in several steps):
//     qx::SafeSave out(fileName);   // raises when the temporary file cannot be made
//     ... out.write(...) ...        // returns -1 after a failure, as QIODevice does
//     out.commit();                 // raises; the target is untouched unless it returns
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

namespace qx {

class ESaveError : public EInOutError
{
public:
    ESaveError(QString message, QString reason, int error)
        : EInOutError(std::move(message)), m_reason(std::move(reason)), m_error(error)
    {}
    // The operating system's reason alone ("磁盘空间不足。") and its errno.
    const QString& Reason() const noexcept { return m_reason; }
    int OsError() const noexcept { return m_error; }

private:
    QString m_reason;
    int m_error;
};

class SafeSave : public QIODevice
{
public:
    // Creates the temporary file and opens the device for writing. Raises EInOutError when the
    // target is read-only, its folder is missing or refuses a new file.
    explicit SafeSave(const QString& fileName);
    // Without a successful commit the temporary file goes and the target stays as it was.
    ~SafeSave() override;
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    // The file the save replaces (a symbolic link's target when the name is a link).
    QString fileName() const { return m_target; }
    // Puts the written bytes in the target's place; raises EInOutError on any failure.
    void commit();
    // Gives up: the temporary file goes, the target stays.
    void cancel();
    // The errno of the first failed write, 0 while every write succeeded.
    int error() const { return m_error; }
    // Raises the save's EInOutError for error(); a writer that caught its own exception calls
    // it so the operating system's reason is what the user reads.
    [[noreturn]] void raiseError() const;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool flushBuffer();
    bool fail(int error);
    void discard();

    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    int m_error = 0;
    qint64 m_written = 0; // bytes that reached the file
    QByteArray m_buffer;
};

// Saves the bytes `write` puts on the device. An exception from `write` cancels the save and
// goes on to the caller, unless a write had failed: then the save's own error (with the
// operating system's reason) is raised instead.
void saveFile(const QString& fileName, const std::function<void(QIODevice&)>& write);
void saveFile(const QString& fileName, const QByteArray& bytes);

// ---- test seam --------------------------------------------------------------------------

// The steps of a save, in order. Write may come many times (each time the buffer goes out).
enum class SaveStep { Create, Write, Sync, Close, Rename };

// Called before each step with the target and the bytes already written; a non-zero errno makes
// the step fail with it, as the system would. Tests set it through an RAII scope
// (tests/support/SaveFault.h); the program never does.
using SaveFaultHook = std::function<int(SaveStep step, const QString& target, qint64 written)>;
// Installs hook (an empty one removes it) and returns the one before.
SaveFaultHook setSaveFaultHook(SaveFaultHook hook);

} // namespace qx
