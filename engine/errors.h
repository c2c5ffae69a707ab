// Error numbers and the error report of the keypad.
#pragma once

#include <string>

#include "rgb.h"

namespace morvane {

enum ErrorNumber : int {
    kInvalidArgument = 5,
    kTooLong = 7,  // a register text beyond the bound
    kOverflow = 6,
    kDivisionByZero = 11,
    kTypeMismatch = 13,
    kPrintFailure = 482,      // no printer, the printer refused the job, or it did not answer in time
    kClipboardFailure = 521,  // the clipboard could not be set, or delivered no text
};

// Thrown inside a key's computation; the key's handler turns it into a report.
struct Failure {
    int number;
};

// The message of n, or nullptr for a number without a message of its own.
// Every number the calculator reports has one; the report keeps the
// previous texts only for a number it does not know.
const char* errorMessage(int n);

// State of the error indicator estado(7) and the error panel.
struct ErrorReport {
    std::string indicator = "E ";                        // estado(7) caption
    Rgb indicatorBack = rgb(255, 128, 0);                // estado(7) background
    std::string numero = "ERROR";                        // numeroerror
    std::string descripcion = "Descripción del error.";  // descripcionerror
    bool visible = false;                                // the error panel
    int number = 0;                                      // the last number reported
    unsigned long reports = 0;                           // how many reports so far
    unsigned long failures = 0;                          // how many failures, reported or only indicated
    // The keyboard's failures, which redden the indicator and show nothing else.
    int quietNumber = 0;              // the last one's number
    unsigned long quietFailures = 0;  // how many so far

    void report(int n);
    void quietFailure(int n);
};

}  // namespace morvane
