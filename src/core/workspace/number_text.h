#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace zephalo::core
