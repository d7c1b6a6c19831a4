// zorbi_make_household <file> [realistic|large]: writes a data file for trying
// the program, or a benchmark, on a household of that size.

#include "household.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zorbi_make_household <file> [realistic|large]\n");
        return 2;
    }
    const bool large = args.size() > 2 && args[2] == QStringLiteral("large");
    QString error;
    if (!bench::makeHousehold(args[1], large ? bench::kLarge : bench::kRealistic, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
