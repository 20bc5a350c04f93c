#include "dialogs/registration.h"

#include <string.h>

#include "session/connection.h"
#include "session/host.h"

const char* const kSecretQuestions[kSecretQuestionCount] = {
    "Любимая книга", "Девичья фамилия матери", "Кличка первого питомца",
    "Любимый фильм", "Город детства",          "Свой вопрос",
};

namespace {

bool isLoginCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_';
}

} // namespace

bool isPortalLogin(const char* login)
{
    size_t n = 0;
    for (; login[n]; n++)
        if (n >= 20 || !isLoginCharacter(login[n]))
            return false;
    return n >= 3;
}

RegistrationFault checkRegistration(const RegistrationRequest& form, const char* repeated)
{
    if (!isPortalLogin(form.login.s))
        return RegistrationBadLogin;
    if (strlen(form.password.s) < 6)
        return RegistrationShortPassword;
    if (strcmp(form.password.s, repeated) != 0)
        return RegistrationPasswordsDiffer;
    if (form.question.empty() || form.answer.empty())
        return RegistrationNoSecret;
    return RegistrationAccepted;
}

const char* registrationFaultText(RegistrationFault fault)
{
    switch (fault) {
    case RegistrationBadLogin:
        return "Логин: 3-20 символов, только латинские буквы, цифры, точка, дефис, подчёркивание.";
    case RegistrationShortPassword:
        return "Пароль — не короче 6 символов.";
    case RegistrationPasswordsDiffer:
        return "Пароли не совпадают.";
    case RegistrationNoSecret:
        return "Заполните секретный вопрос и ответ — без них пароль не восстановить.";
    case RegistrationAccepted:
        break;
    }
    return nullptr;
}

void connectWithRegistration()
{
    SessionState& s = session;
    s.loginNick.set(s.registration.login.s);
    s.password.set(s.registration.password.s);
    s.settings.remember = true;
    ports.host->saveSettings();
    s.registrationPending = 1;
    connectToServer();
}
