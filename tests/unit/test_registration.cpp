#include <gtest/gtest.h>

#include <string>

#include "dialogs/registration.h"

TEST(Registration, LoginRule)
{
    struct Case {
        std::string login;
        bool ok;
    };
    const Case cases[] = {
        {"", false},
        {"ab", false},
        {"abc", true},
        {std::string(20, 'x'), true},
        {std::string(21, 'x'), false},
        {"ivan.petrov-1_x", true},
        {"IVAN_09", true},
        {"иван", false},
        {"ivanов", false},
        {"ivan petrov", false},
        {"ivan+x", false},
        {"ivan@x", false},
        {"abc ", false},  // nothing is trimmed
        {"\tabc", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isPortalLogin(c.login.c_str()), c.ok) << "«" << c.login << "»";
}

TEST(Registration, OnlyTheFirstBrokenRuleIsReported)
{
    struct Case {
        const char *login, *password, *repeated, *question, *answer;
        RegistrationFault fault;
    };
    const Case cases[] = {
        // Everything wrong at once: the login is named first.
        {"ab", "123", "321", "", "", RegistrationBadLogin},
        {"ivan", "12345", "54321", "", "", RegistrationShortPassword},
        // Five matching characters are still too few.
        {"ivan", "12345", "12345", "Любимая книга", "x", RegistrationShortPassword},
        // One letter in another case is another password.
        {"ivan", "secret", "Secret", "", "", RegistrationPasswordsDiffer},
        {"ivan", "secret", "secret", "", "x", RegistrationNoSecret},
        {"ivan", "secret", "secret", "Любимая книга", "", RegistrationNoSecret},
        // An answer of spaces is an answer; the offered "Свой вопрос" is a question.
        {"ivan", "secret", "secret", "Свой вопрос", "   ", RegistrationAccepted},
        {"ivan.petrov-1_x", "пароль", "пароль", "Мой вопрос?", "ответ", RegistrationAccepted},
    };
    for (const Case& c : cases) {
        RegistrationRequest form = {};
        form.login.set(c.login);
        form.password.set(c.password);
        form.question.set(c.question);
        form.answer.set(c.answer);
        RegistrationFault fault = checkRegistration(form, c.repeated);
        EXPECT_EQ(fault, c.fault) << c.login << " / " << c.password << " / " << c.repeated;
        EXPECT_EQ(registrationFaultText(fault) == nullptr, fault == RegistrationAccepted);
    }
}
