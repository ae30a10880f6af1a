#ifndef ZENDRIK_INSTRUMENT_SCPIIO_H
#define ZENDRIK_INSTRUMENT_SCPIIO_H

#include "instrument/AnalyserKind.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/VisaTypes.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

// Small helpers of the command layer: sending a list of commands (or the list of the connected
// family) and reading an answer so that a failed read can be told from an answer "0".
namespace scpiio {

void Send(ScpiContext& c, const QString& command);
void Send(ScpiContext& c, const QStringList& commands);

// What a family that gets no command from an operation is given, by name, where the operation
// is written: SendFor(c, {.rigol = on, .siglent = on, .hameg = kNothing, ...}).
struct Nothing {};
inline constexpr Nothing kNothing{};

// What a family that sends the texts another family gets from the same operation is given:
// .fph = SameAs{dfRsFpc}. That family's own texts are sent, or, when it is given another's too,
// that one's.
struct SameAs {
    DeviceFamilyCode family;
};

// The command texts one family gets from one operation. There is no empty default (neither a
// field left out nor "{}" compiles), so that a family added to PerFamily and forgotten in one
// operation is a compile error instead of an analyser that silently gets nothing.
struct FamilyTexts {
    FamilyTexts() = delete;
    FamilyTexts(Nothing) {}
    FamilyTexts(SameAs as) : sameAs(as.family) {}
    FamilyTexts(std::initializer_list<QString> texts) : commands(texts) {}
    FamilyTexts(const QStringList& texts) : commands(texts) {}

    QStringList commands;
    // The family whose texts are sent instead of commands; dfNone for commands.
    DeviceFamilyCode sameAs = dfNone;
};

// The command texts of one operation per family, each named where the operation is written.
// Every family is named: SendFor(c, {.rigol = .., .siglent = .., .hameg = .., .fpc = .., .fph = ..}).
// A family that is another's texts but for a few operations is declared with that family as its
// field's default (`FamilyTexts newFamily = SameAs{dfSiglent};`): the operations then name it
// only where its texts differ (`.newFamily = {...}`), and a field left out keeps the compiler's
// check of the designated order.
struct PerFamily {
    FamilyTexts rigol;
    FamilyTexts siglent;
    FamilyTexts hameg;
    FamilyTexts fpc;
    FamilyTexts fph;
};
// Sends the texts of the connected family; nothing while no family is identified.
void SendFor(ScpiContext& c, const PerFamily& texts);
// One read of at most 2048 bytes as VisaReadReply does it (keepLineEnd for the "5000" mode), but
// nothing when the read failed; *status gets the read's status when asked for.
ScpiAnswer ReadReply(ScpiContext& c, bool keepLineEnd = false, ViStatus* status = nullptr);
// The same for an answer of several lines (option lists, system messages), which on a raw socket
// or a serial line is read until the instrument stays quiet.
ScpiAnswer ReadMultiLineReply(ScpiContext& c);
// The answer as a finite number ("." as decimal mark, blanks and line ends around it allowed).
std::optional<double> AnswerNumber(const QString& answer);

// True when the link of the analyser's session is gone. The analyser then no longer counts as
// connected and the connection panel is emptied, as after a failed trace transfer. Send and the reads above
// look at it after every call; the callers decide what ends.
bool LinkLost(ScpiContext& c);
// Whether a read that failed with status needs no line of its own: Stop ended it, or the link is
// gone (the work it ends says so once).
bool QuietFailure(ScpiContext& c, ViStatus status);

} // namespace scpiio

#endif
