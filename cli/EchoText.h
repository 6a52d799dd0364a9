#pragma once

#include <string>
#include <string_view>

// A text from the user's input as it appears in a message: in double quotes, with quotes,
// backslashes and control characters escaped as in JSON ("\n", "\u0001"), bytes that are not
// UTF-8 shown as U+FFFD, and cut after 40 characters ("..." marks the cut), so that one error
// stays one short line whatever the input holds.
std::string Echo(std::string_view text);

// A file name or other subject of a message, whole and unquoted, but with control characters
// escaped as in JSON and bytes that are not UTF-8 shown as U+FFFD, so that it cannot break the
// message's line.
std::string Printable(std::string_view text);
