// Normalisation of the names that make up a settings key path. Plain C++ with no Win32 in
// it, so it builds natively as well. White space is what the C runtime's isspace says.
#pragma once

#include <string>

// A section name as a key path below the application's key: blanks trimmed, "/" turned
// into "\", a doubled "\" made single (one left-to-right pass, so "\\\" keeps two), and
// no separator or blank left at either end. A name of only slashes and blanks gives "".
std::string NormaliseSectionName(const std::string& section);

// A company or application name as one key name: every "/" and "\" removed and the
// blanks around what is left trimmed.
std::string NormaliseKeyName(const std::string& name);
