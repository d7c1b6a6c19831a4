#pragma once
// Opening a document, a folder, a web or mail address, or a program, the way
// the desktop would when the user opened it.

#include <QString>
#include <functional>

namespace shell {

// Web and mail addresses (http, https, mailto, ftp, and a bare "www." text taken
// as http), documents and folders go to the desktop's own handler; a program
// (an executable binary or script) is started on its own with `parameters`
// split as a command line. Whether it worked is not reported.
void open(const QString &target, const QString &parameters = {});

// Replaces the opening, for tests: the opener receives what would be opened
// (the address, a "file://" address for a document or folder, or the program's
// path) and whether it is a program. nullptr opens for real again.
using Opener = std::function<void(const QString &target, const QString &parameters, bool isProgram)>;
void setOpener(Opener opener);

} // namespace shell
