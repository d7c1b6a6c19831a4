// zorbi_make_household <file> [realistic|large|huge]: writes a data file for trying
// the program, or a benchmark, on a household of that size.

#include "household.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zorbi_make_household <file> [realistic|large|huge]\n");
        return 2;
    }
    const int size = args.size() > 2 ? bench::sizeNamed(args[2]) : int(bench::Realistic);
    if (size < 0) {
        std::fprintf(stderr, "usage: zorbi_make_household <file> [realistic|large|huge]\n");
        return 2;
    }
    QString error;
    if (!bench::makeHousehold(args[1], bench::householdSize(size), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
