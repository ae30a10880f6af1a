#ifndef ZENDRIK_DATAFILES_PARAMETERGRIDVALIDATION_H
#define ZENDRIK_DATAFILES_PARAMETERGRIDVALIDATION_H

#include <QString>

struct ProjectTargets;

// What the main parameter grid does when the operator leaves an edited cell: value goes into the
// cell (where an edit has already put it), then the row is checked. Numbers are read after every "." is removed; the frequency rows ("RBW [Hz]",
// "Span [Hz]", "Attenuator [dB]", "Chart Start[Hz]", "Chart Stop[Hz]") also take 12k, 3M, 1G.
//  - Instrument rows: a good value is written back in its normal form and, while a device is
//    connected, sent at once; a bad one is replaced by the row's fallback ("auto", "9000",
//    "20000", "0") and nothing is sent. A span is a 64-bit number (1 .. 3 000 000 000).
//  - Range rows move the chart's axes when the new end stays on its side of the other one;
//    otherwise the cell shows "not valid".
//  - File rows load their table into the chart (a missing file, "none" included, leaves the
//    series empty); segment rows replace the set's segment table.
//  - Margins (-100 .. 100, else 0) redraw their limit line; "MaxHold" and "Marker" switch their
//    flags.
// Never throws: a failure becomes an "Error: " line.
void ValidateParameter(ProjectTargets& targets, const QString& key, const QString& value);

// Runs ValidateParameter for every value the operator commits in the main grid's model.
void AttachGridValidation(ProjectTargets& targets);

#endif
