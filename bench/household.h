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

// A family's real use, a very large collection with one busy pet, and ten
// times that (with a busy pet ten times as busy).
constexpr HouseholdSize kRealistic{5, 200, 40, 60, 10, 30, 100};
constexpr HouseholdSize kLarge{1000, 100000, 20000, 10000, 1000, 2000, 5000, 1000, 200};
constexpr HouseholdSize kHuge{10000, 1000000, 200000, 100000, 10000, 20000, 50000, 10000, 2000};

// The sizes by number, as the benchmarks take them for their argument.
enum Size : int { Realistic = 0, Large = 1, Huge = 2 };
const HouseholdSize &householdSize(int size);
// "realistic", "large", "huge"; and the size a name gives (-1 for none).
const char *sizeName(int size);
int sizeNamed(const QString &name);
// The busy pet of the large household.
constexpr long kBusyPet = 1;

// The pet with the most rows of its own (diary entries, vaccinations,
// pictures, commands and properties) in the data file open, 0 for none.
long busiestPet();

// Writes a new data file at `path` (replacing one that is there) holding `size`.
bool makeHousehold(const QString &path, const HouseholdSize &size, QString *error);

// Under `root`, one program folder per size up to `largest` (named as
// sizeName gives), each with Zorbi.sys and a Zorbi.dat holding that household,
// and the settings kept in `root`.  False, after a line on stderr, when one
// cannot be made.
bool makeBenchFolders(const QString &root, int largest = Large);
// The program folder of one size under `root`.
QString benchFolder(const QString &root, int size);

// The body of a benchmark program: makes the households up to `largest` in a
// temporary root, runs the benchmarks the command line asks for, and clears
// up; the exit code.  The huge household takes a while to make and a few
// hundred megabytes, so only the benchmarks that use it ask for it.
int runBenchmarks(int argc, char **argv, int largest = Large);
// The root that runBenchmarks made (while it runs).
QString benchRoot();
// Makes the program folder of one size the program's, with its data file as
// the setting "Database" names it (while runBenchmarks runs).
void useBenchFolder(int size);
// A child process of a benchmark: the root its parent made (benchRoot()),
// its settings included, so that useBenchFolder works as in the parent.
void useBenchRoot(const QString &root);

} // namespace bench
