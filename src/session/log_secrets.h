// What the protocol log must not hold: the password of LOGIN, and the
// password and the secret answer of REG. Users are asked to attach the log
// to their problem reports, so those fields are written as "***" there
// (an empty one stays empty); the line on the wire is untouched.
#pragma once

#include <stddef.h>

// The line as the log may show it: line itself when it carries no secret,
// else the masked copy written into out (cut to cap - 1 characters).
const char* withoutSecrets(const char* line, char* out, size_t cap);
