// How a worker process tells the test that runs it what it has done: one line on standard
// output, flushed at once, so that a line the test read stands for work that was finished
// even when the worker is killed right after.
#pragma once

#include <QByteArray>

#include <cstdio>

namespace qx::documents::test {

inline void say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace qx::documents::test
