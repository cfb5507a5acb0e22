// Opening a written file with the program the desktop associates with its type (a spreadsheet
// with the spreadsheet program, and so on). Tests switch this off for a scope, so that no run
// of the tests starts a program on the machine, and read which files would have been opened.
#pragma once

#include <QString>
#include <QStringList>

namespace qx {

// Opens fileName with the desktop's program; false when the desktop could not do it. While a
// DesktopOpeningOff scope lives, nothing is started: the file is noted in that scope and the
// result is true.
bool openWithDesktop(const QString& fileName);

// Whether openWithDesktop starts programs now (no DesktopOpeningOff scope lives).
bool desktopOpeningEnabled();

// Switches desktop opening off for the whole process while it lives, also when the scope is
// left by an exception; scopes nest, the innermost one notes the files.
class DesktopOpeningOff
{
public:
    DesktopOpeningOff();
    ~DesktopOpeningOff();
    DesktopOpeningOff(const DesktopOpeningOff&) = delete;
    DesktopOpeningOff& operator=(const DesktopOpeningOff&) = delete;

    // The files openWithDesktop was asked to open during this scope, in order.
    QStringList requested() const;

private:
    friend bool openWithDesktop(const QString& fileName);
    DesktopOpeningOff* m_outer = nullptr;
    QStringList m_requested;
};

} // namespace qx
