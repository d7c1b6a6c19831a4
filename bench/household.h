#pragma once
// Fills a data file with a made-up household, for the benchmarks.

#include <QString>

namespace bench {

struct HouseholdSize {
    int pets, diary, vaccinations, events, repeatingEvents, people, pictures;
    // Of the diary entries and vaccinations, how many belong to pet 1 (a pet
    // kept for many years); the rest are spread over the other pets.
    int busyPetDiary = 0, busyPetVaccinations = 0;
};

// A family's real use, and a very large collection with one busy pet.
constexpr HouseholdSize kRealistic{5, 200, 40, 60, 10, 30, 100};
constexpr HouseholdSize kLarge{1000, 100000, 20000, 10000, 1000, 2000, 5000, 1000, 200};
// The busy pet of the large household.
constexpr long kBusyPet = 1;

// Writes a new data file at `path` (replacing one that is there) holding `size`.
bool makeHousehold(const QString &path, const HouseholdSize &size, QString *error);

// Under `root`, one program folder per size ("realistic" and "large"), each with
// Zorbi.sys and a Zorbi.dat holding that household, and the settings kept in
// `root`.  False, after a line on stderr, when one cannot be made.
bool makeBenchFolders(const QString &root);
// The program folder of one size under `root`.
QString benchFolder(const QString &root, bool large);

// The body of a benchmark program: makes both households in a temporary root,
// runs the benchmarks the command line asks for, and clears up; the exit code.
int runBenchmarks(int argc, char **argv);
// The root that runBenchmarks made (while it runs).
QString benchRoot();
// Makes the program folder of one size the program's, with its data file as
// the setting "Database" names it (while runBenchmarks runs).
void useBenchFolder(bool large);

} // namespace bench
