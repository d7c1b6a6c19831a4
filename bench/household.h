#pragma once
// Fills a data file with a made-up household, for the benchmarks.

#include <QString>

namespace bench {

struct HouseholdSize {
    int pets, diary, vaccinations, events, repeatingEvents, people, pictures;
};

// A family's real use, and a very large collection.
constexpr HouseholdSize kRealistic{5, 200, 40, 60, 10, 30, 100};
constexpr HouseholdSize kLarge{1000, 100000, 20000, 10000, 1000, 2000, 5000};

// Writes a new data file at `path` (replacing one that is there) holding `size`.
bool makeHousehold(const QString &path, const HouseholdSize &size, QString *error);

// Two program folders under `root`, "realistic" and "large", each with a system
// file and a household; reports on stderr and returns false when one cannot be made.
bool makeProgramFolders(const QString &root);
QString programFolder(const QString &root, bool large);

} // namespace bench
