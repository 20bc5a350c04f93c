// A new portal account from the client: the questions offered, the rules a
// filled-in form must pass before it goes to the server, and the hand-over
// that makes the next connection register the account and log in with it.
#pragma once

#include "session/session_state.h"

// Characters the fields of the registration form let the user type.
enum {
    kRegistrationLoginTypingLimit = 20,
    kRegistrationPasswordTypingLimit = 40,
    kRegistrationAnswerTypingLimit = 100,
};

// The secret questions offered, in their order; the first is the one
// selected at start. The user may also type a question of his own.
enum { kSecretQuestionCount = 6 };
extern const char* const kSecretQuestions[kSecretQuestionCount];

// A portal login: 3 to 20 characters, each an ASCII letter, a digit, ".",
// "-" or "_".
bool isPortalLogin(const char* login);

// What is wrong with a filled-in form, in the order the rules are tested.
enum RegistrationFault {
    RegistrationAccepted,
    RegistrationBadLogin,        // not a portal login
    RegistrationShortPassword,   // fewer than 6 characters
    RegistrationPasswordsDiffer, // the repetition is not the same, case counting
    RegistrationNoSecret,        // question or answer empty
};

// The first rule the form breaks; repeated is the password typed again.
// Nothing is trimmed: an answer of spaces is an answer.
RegistrationFault checkRegistration(const RegistrationRequest& form, const char* repeated);

// The warning shown for a fault; null for RegistrationAccepted.
const char* registrationFaultText(RegistrationFault fault);

// After an accepted form in session.registration: its login and password
// become the login nick and password, the password is remembered, the
// settings are saved, the request is marked pending and the connection
// starts; its handshake sends the request ahead of the login.
void connectWithRegistration();
