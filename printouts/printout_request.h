#pragma once
// What one open of a printout is for. The handler fills it, the option window
// of the printout writes its answers into it, and the layout takes its own
// copy: several viewers may be open at once, each with its own.

#include <QString>

// Every member has a default, so that a request names only what it sets
// (PrintoutRequest{.reportName = ..., .petID = ...}).
struct PrintoutRequest {
    // The printout's id in the catalogue and its name (the viewer's caption
    // and the page footer).
    long reportID = 0;
    QString reportName{};
    // The record: a pet, or a picture for the picture print; 0 all (or none).
    long petID = 0;
    // The trip chosen for the sitter's instructions; 0 none.
    long tripID = 0;
    // The greeting card's texts; "" prints nothing in their place.
    QString greetingTitle{}, greetingText{};
    // What the published page holds.
    bool publishDiary = true, publishVaccinations = true, publishCommands = true, publishMisc = true;
};
