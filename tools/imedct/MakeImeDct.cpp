// Writes Ime.DCT, the input-code dictionary of the program folder (see ImeDct.h).
//
// Usage: makeimedct <rime-data folder> <output file>
#include "platform/rtl/Exceptions.h"
#include "tools/imedct/ImeDct.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeimedct <rime-data folder> <output file>\n");
        return 2;
    }
    try {
        const qx::tools::ImeDct dct = qx::tools::buildImeDct(QString::fromLocal8Bit(argv[1]));
        if (dct.gaps > 0)
            std::fprintf(stderr, "makeimedct: %d characters lack a code\n", dct.gaps);
        qx::tools::writeImeDct(QString::fromLocal8Bit(argv[2]), dct.bytes);
        std::printf("makeimedct: %d characters\n", dct.lines);
    } catch (const Exception& e) {
        std::fprintf(stderr, "makeimedct: %s\n", e.what());
        return 1;
    }
    return 0;
}
