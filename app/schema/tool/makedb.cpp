// makedb <path>: creates a new, empty shop database at <path> (schema, first rows, the operator
// "高级用户" without password). Refuses to replace an existing file. Exit status 0 when the
// database was made, 1 on failure (the reason on stderr), 2 on wrong use.
#include "app/schema/DatabaseBuilder.h"

#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: makedb <path of the new database>\n");
        return 2;
    }
    try {
        qx::app::buildDatabase(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "makedb: %s\n", e.what());
        return 1;
    }
    return 0;
}
