// The interpreter's shortcuts against the plain way, on one editor text: run twice from the
// same fresh machine, once with the fast scan, number conversion, label lookup and jump memory
// and once with every token classified by the rules one after the other, every number converted
// by the C library and every label looked up by walking the cache. Shared by the fuzz target
// and by the test that runs it over a fixed set of programs.
#pragma once

#include <string_view>

// What differs between the two runs ("output", "variables", ...); nullptr when nothing does.
// Installs its own sinks and a virtual clock for the two runs and uninstalls them afterwards;
// the shortcuts are on again when it returns.
const char* fast_plain_difference(std::string_view text);
