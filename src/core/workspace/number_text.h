#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "core/workspace/status.h"

// Number text of the work space, the edit boxes and the messages. Every
// conversion here ignores the process locale: a desktop with a comma decimal
// separator still writes and reads 7058.8.
namespace zephalo::core {

// Work-space file format: general format with 6 significant digits, like "%g"
// (7058.8, 0.305, 7.9e-09, 7000).
std::string formatNumber(double value);

// The value as a work-space file holds it: rounded to six significant digits
// (parsed back from formatNumber).
double storedValue(double value);

// Edit boxes and messages: general format with the given count of significant
// digits (1..17). Whole numbers carry no trailing point: 7114, not "7114.".
std::string formatDigits(double value, int significantDigits);

// A whole token of a file or a command-line argument: the entire text must be
// one finite decimal number (an optional leading '+' is allowed). nullopt
// otherwise, also for "nan", "inf" and values beyond the range of a double.
std::optional<double> parseNumber(std::string_view token);

// Text typed into an edit box, read the way the C runtime's atof reads it:
// leading blanks skipped, the longest leading decimal number taken, the rest
// ignored. nullopt when the text does not start with a finite number: empty or
// blank text, "abc", a lone sign or point, "+-5", "inf", "nan", or a value
// beyond the range of a double.
std::optional<double> parseTypedNumber(std::string_view text);

// The same with 0 for text that does not start with a finite number.
double parseTyped(std::string_view text);

// Whether the text is empty or holds only blanks.
bool isBlankText(std::string_view text);

// Text typed into an edit box, read strictly: blanks around it trimmed, the
// rest one whole number as parseNumber reads it; nullopt otherwise (also for
// blank text).
std::optional<double> parseBoxNumber(std::string_view text);

// Text typed into the edit box captioned `box`, read strictly: blanks around
// it trimmed, the rest must be one whole number as parseNumber reads it
// ("7114", "-2.5", "1e3"; never "7l14" or "1x2"). Blank text leaves `out` as
// it is, so the caller's value for an empty box stands; other text is
// refused with a message that names the box and quotes the text.
Status readBox(std::string_view box, std::string_view text, double& out);

// A box's text as a zephalo-cli number argument: trimmed, and blank as "0",
// which an empty box reads as.
std::string boxArgument(std::string_view text);

// One box for readBoxes: its caption, its text, where its value goes.
struct BoxField {
    std::string_view box;
    std::string_view text;
    double& out;
};
// readBox over the boxes in order; the first refusal ends it. Check every box
// before the operation writes anything.
Status readBoxes(std::initializer_list<BoxField> fields);

}  // namespace zephalo::core
