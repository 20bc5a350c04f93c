#include <gtest/gtest.h>

#include <string>

#include "session/dispatch.h"
#include "fakes.h"

namespace {

class DispatchTest : public ::testing::Test, public SessionFixture {
protected:
    void SetUp() override { ports.lines = &serverLineDispatcher(); }

    void says(const std::string& text)
    {
        static char line[kDecodedLineCap];
        copyText(line, sizeof line, text.c_str());
        ParsedLine p;
        splitLine(trimLine(line), p);
        dispatchServerLine(p);
    }

    void loggedIn(const char* role = "user")
    {
        connectNow();
        says(std::string("WELCOME Я\t") + role + "\tЧат\tпривет");
        host.events.clear();
        log.lines.clear();
        transport.sent.clear();
    }
};

} // namespace

TEST_F(DispatchTest, ChatTrafficAndTheIgnoreFilter)
{
    says("MSG 12:00\tВася\t#FF0000\tпривет");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].timestamp, "12:00");
    EXPECT_EQ(log.lines[0].nick, "Вася");
    EXPECT_EQ(log.lines[0].nickColor, 0x0000FFu);
    EXPECT_EQ(log.lines[0].text, "привет");
    EXPECT_EQ(log.lines[0].color, session.colors.text);

    says("MSG 12:01\tПетя\tbad\tx");
    EXPECT_EQ(log.lines[1].nickColor, session.colors.text);  // invalid colour falls back

    addIgnored(session, "вАСЯ");
    says("MSG 12:02\tВася\t#FF0000\tдропнуто");
    says("PM 12:02\tВАСЯ\t-\tтоже");
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_FALSE(host.has("beep"));

    says("SYS 12:03\tсервер");
    EXPECT_EQ(log.lines.back().prefix, "* ");
    EXPECT_EQ(log.lines.back().color, session.colors.sys);

    says("PMSENT 12:04\tВАСЯ\tмоё");  // own echo: no ignore check
    EXPECT_EQ(log.lines.back().prefix, "[приват для ВАСЯ] ");
    EXPECT_EQ(log.lines.back().text, "моё");

    says("NOTICE Рестарт");
    EXPECT_EQ(log.lines.back().prefix, "ОБЪЯВЛЕНИЕ: ");
    EXPECT_EQ(log.lines.back().timestamp, "");
    EXPECT_EQ(log.lines.back().color, kColorNotice);
}

TEST_F(DispatchTest, PrivateMessageBeepsOnlyWithSound)
{
    says("PM 1\tПетя\tx\tпсст");
    EXPECT_EQ(log.lines.back().prefix, "[приват от Петя] ");
    EXPECT_EQ(log.lines.back().color, session.colors.pm);
    EXPECT_EQ(host.count("beep"), 1);
    EXPECT_EQ(host.count("flash"), 1);
    session.settings.sound = false;
    says("PM 1\tПетя\tx\tещё");
    EXPECT_EQ(host.count("beep"), 1);
    EXPECT_EQ(host.count("flash"), 2);
}

TEST_F(DispatchTest, UserListingAfterWelcomeAndAfterTheRefresh)
{
    loggedIn();
    says("USERLIST Главная");
    says("USER Аня\t#00FF00\t\t");
    says("USER я\t\tзанят\tmod");
    says("USER Боб\t#000000\t\tadmin");
    says("USEREND");
    EXPECT_STREQ(session.currentRoom.s, "Главная");
    EXPECT_EQ(session.userCount, 3);
    EXPECT_STREQ(session.roomRole.s, "mod");  // own USER line, nick in another case
    EXPECT_STREQ(roleDisplayName(session), "модератор комнаты");
    EXPECT_TRUE(adminPanelAvailable(session));
    EXPECT_EQ(log.lines.back().text, "Вы в комнате «Главная». Людей: 3");
    EXPECT_TRUE(host.has("users"));
    EXPECT_TRUE(host.has("rooms"));

    log.lines.clear();
    onTimer(kTimerRefresh);
    says("USERLIST Главная");
    says("USER Аня\t\t\t");
    says("USEREND");
    EXPECT_TRUE(log.lines.empty());
    EXPECT_EQ(session.suppressRoomLine, 0);
    EXPECT_EQ(session.userCount, 1);

    says("USERLIST Главная");
    says("USEREND");
    EXPECT_EQ(log.lines.back().text, "Вы в комнате «Главная». Людей: 0");
}

TEST_F(DispatchTest, UserListingBeforeWelcomeWritesNoRoomLine)
{
    says("USERLIST R");
    says("USER a\t\t\t");
    says("USEREND");
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(DispatchTest, JoinPartAndStatus)
{
    says("JOIN Аня\t#112233\tguest");
    says("JOIN аня\t#445566\tmod");  // already listed
    EXPECT_EQ(session.userCount, 1);
    EXPECT_EQ(session.users[0].color, rgbColor(0x11, 0x22, 0x33));
    EXPECT_EQ(host.count("users"), 2);

    says("PART Никто");
    EXPECT_EQ(session.userCount, 1);
    EXPECT_EQ(host.count("users"), 3);

    says("STATUS Никто\tсплю");
    EXPECT_EQ(host.count("users"), 3);  // unknown nick: no redraw
    says("STATUS АНЯ\tсплю");
    EXPECT_STREQ(session.users[0].status.s, "сплю");
    EXPECT_EQ(host.count("users"), 4);

    says("PART АНЯ");
    EXPECT_EQ(session.userCount, 0);
    EXPECT_TRUE(log.lines.empty());  // joins and parts write no chat line
}

TEST_F(DispatchTest, RoomsAndTopic)
{
    says("ROOMLIST");
    says("ROOM Главная\t12\tx\ty");
    says("ROOM Пустая\tмного");
    EXPECT_EQ(session.roomCount, 2);
    EXPECT_EQ(session.rooms[0].people, 12);
    EXPECT_EQ(session.rooms[1].people, 0);
    EXPECT_FALSE(host.has("rooms"));
    says("ROOMEND");
    EXPECT_TRUE(host.has("rooms"));
    says("ROOMLIST");
    EXPECT_EQ(session.roomCount, 0);

    says("TOPIC Новости");
    EXPECT_EQ(host.topic, "Новости");
    EXPECT_TRUE(log.lines.empty());
    host.panelIsOpen = true;
    says("TOPIC Тема\tАдмин");
    EXPECT_EQ(log.lines.back().prefix, "* Топик изменил Админ: ");
    EXPECT_EQ(log.lines.back().text, "Тема");
    EXPECT_EQ(host.panelTopic, "Тема");
}

TEST_F(DispatchTest, WelcomeInItsOrder)
{
    connectNow();
    host.events.clear();
    says("HELLO ZBP/1\tzbchatd 0.9");
    EXPECT_EQ(log.lines.back().text, "Сервер: zbchatd 0.9 (ZBP/1)");
    says("WELCOME Вася_2\tadmin\tБолталка\tЗдравствуйте");
    EXPECT_EQ(session.welcomed, 1);
    EXPECT_STREQ(session.ownNick.s, "Вася_2");
    EXPECT_STREQ(session.globalRole.s, "admin");
    EXPECT_STREQ(session.chatTitle.s, "Болталка");
    size_t n = log.lines.size();
    EXPECT_EQ(log.lines[n - 2].text, "* * * Здравствуйте * * *");
    EXPECT_EQ(log.lines[n - 2].color, kColorGreeting);
    EXPECT_EQ(log.lines[n - 2].prefix, "");
    EXPECT_EQ(log.lines[n - 1].text, "Вы вошли как Вася_2 (admin)");
    std::vector<std::string> want = {"stop 4",      "start 1 20000", "start 2 30000",
                                     "focus",       "status",        "start 6 1000",
                                     "status choice reset"};
    EXPECT_EQ(host.events, want);
    EXPECT_EQ(connectionState(session), LoggedIn);
}

TEST_F(DispatchTest, PongMeasuresLagFromThePingTick)
{
    loggedIn();
    host.tick = 50000;
    onTimer(kTimerKeepAlive);
    host.tick = 50123;
    says("PONG");
    EXPECT_EQ(session.lag, 123);
    EXPECT_TRUE(host.has("status"));
    says("PONG 1\t2\t3");
    EXPECT_EQ(session.lag, 123);
}

TEST_F(DispatchTest, LoginRefusalOnlyBeforeWelcome)
{
    connectNow();
    says("ERR 409\tНик занят");
    EXPECT_EQ(log.lines.back().text, "Ошибка 409: Ник занят");
    EXPECT_EQ(log.lines.back().prefix, "!! ");
    EXPECT_TRUE(host.has("box warning Вход не удался: Ник занят"));
    EXPECT_EQ(connectionState(session), AwaitingWelcome);  // the client does not close

    host.events.clear();
    says("ERR 500\tчто-то");
    EXPECT_TRUE(host.events.empty());

    says("WELCOME a\tuser\tt\tg");
    host.events.clear();
    says("ERR 409\tНик занят");
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(log.lines.back().text, "Ошибка 409: Ник занят");
}

TEST_F(DispatchTest, FailedRegistrationLeavesTheClientDisconnected)
{
    session.registrationPending = 1;
    session.registration.login.set("new");
    connectNow();
    host.panelIsOpen = true;
    says("ERR 400\tЛогин занят");
    EXPECT_EQ(session.registrationPending, 0);
    EXPECT_TRUE(host.has("box warning Регистрация не удалась: Логин занят"));
    EXPECT_EQ(host.panelStatus, "Ошибка 400: Логин занят");
    EXPECT_EQ(connectionState(session), Disconnected);
}

TEST_F(DispatchTest, SuccessfulRegistrationNamesTheNewLogin)
{
    session.registrationPending = 1;
    session.loginNick.set("newbie");
    says("OK REG");
    EXPECT_EQ(session.registrationPending, 0);
    ASSERT_EQ(host.events.size(), 1u);
    const std::string& box = host.events[0];
    EXPECT_EQ(box.find("box info Добро пожаловать на портал zumbara.example!: Регистрация прошла успешно!\r\n\r\n"
                       "Вы получили единый логин на zumbara.example: newbie\r\n\r\n"
                       "Это ваш почтовый ящик newbie@zumbara.example на mail.zumbara.example,"),
              0u);
    EXPECT_EQ(log.lines.back().text,
              "Вы зарегистрированы на портале zumbara.example. Сейчас войдём в чат с новым логином...");
}

TEST_F(DispatchTest, AcknowledgementsByTheirFirstField)
{
    loggedIn();
    says("OK BANNERDEL");
    EXPECT_EQ(transport.sent, "BANNERS\n");  // panel closed: still fetched again
    EXPECT_FALSE(host.has("panel status Сохранено."));
    host.panelIsOpen = true;
    says("OK SETCFG");
    EXPECT_TRUE(host.has("panel status Сохранено."));
    EXPECT_EQ(transport.sent, "BANNERS\n");
    says("OK TOPIC\tТопик сохранён");
    EXPECT_EQ(log.lines.back().text, "Топик сохранён");
    size_t n = log.lines.size();
    says("OK JOIN");
    EXPECT_EQ(log.lines.size(), n);
}

TEST_F(DispatchTest, KickedAndBannedOnlyReport)
{
    loggedIn();
    says("KICKED флуд");
    EXPECT_EQ(log.lines.back().text, "Вас выкинули из чата: флуд");
    says("BANNED 2027-01-01\tспам");
    EXPECT_EQ(log.lines.back().text, "Вы забанены до 2027-01-01: спам");
    EXPECT_EQ(log.lines.back().color, kColorError);
    EXPECT_EQ(connectionState(session), LoggedIn);
}

TEST_F(DispatchTest, ConfigurationSeriesAppliesAtItsEnd)
{
    Color text = session.colors.text;
    says("CFG color_bg\t#000000");
    says("CFG color_sys\tnonsense");
    says("CFG chat_title\tНовый чат");
    EXPECT_EQ(session.colors.bg, 0xFFFFFFu);  // nothing until CFGEND
    host.panelIsOpen = true;
    says("CFGEND");
    EXPECT_EQ(session.colors.bg, 0u);
    EXPECT_EQ(session.colors.text, text);           // no color_text: kept
    EXPECT_EQ(session.colors.sys, 0x008000u);       // invalid: kept
    EXPECT_STREQ(session.chatTitle.s, "Новый чат");
    std::vector<std::string> want = {"colors", "status", "panel refresh 1"};
    EXPECT_EQ(host.events, want);

    says("CFG color_sys\t#0000FF");
    says("CFGEND");
    says("SYS t\tпосле");
    EXPECT_EQ(log.lines.back().color, 0xFF0000u);
}

TEST_F(DispatchTest, BannerLines)
{
    says("BANNER 0");
    EXPECT_TRUE(host.has("strip"));
    EXPECT_TRUE(log.lines.empty());  // not an admin

    loggedIn("admin");
    says("BANNER 5\t\thttp://link/");
    EXPECT_FALSE(session.banner.shown);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].text.find("Сервер прислал «баннеров нет» (BANNER 0)."), 0u);

    says("BANNER 7\thttps://x/a.png\thttp://l/");
    EXPECT_TRUE(host.has("result 7 6"));
    EXPECT_STREQ(session.banner.link.s, "http://l/");
    says("BANNER 8\tHTTP://x/a.png\t");
    EXPECT_TRUE(host.has("result 8 6"));
    says("BANNER 9\thttp://x/b.gif\thttp://l2/");
    EXPECT_TRUE(host.has("fetch 9 http://x/b.gif"));
    says("BANNER abc\thttp://x/b.gif");
    EXPECT_EQ(session.banner.id, 0);

    says("BANNERLIST");
    for (int i = 1; i <= 70; i++)
        says("BANNERITEM " + std::to_string(i) + "\thttp://x/" + std::to_string(i) + ".png\thttp://l/\t10\t1");
    EXPECT_EQ(session.bannerItemCount, 64);
    EXPECT_EQ(session.bannerItems[63].id, 64);
    host.events.clear();
    says("BANNEREND");
    EXPECT_TRUE(host.events.empty());  // panel closed
    host.panelIsOpen = true;
    says("BANNEREND");
    EXPECT_TRUE(host.has("panel refresh 2"));
}

TEST_F(DispatchTest, UnrecognisedLines)
{
    says("FOO a b\tc");
    EXPECT_EQ(log.lines.back().prefix, "?? неизвестная команда сервера: ");
    EXPECT_EQ(log.lines.back().text, "FOO a b");
    EXPECT_EQ(log.lines.back().color, kColorUnknown);
    says("BAR\tBAZ");
    EXPECT_EQ(log.lines.back().text, "BAR|BAZ ");
    says("msg lower-case words are not commands");
    EXPECT_EQ(log.lines.back().text, "msg lower-case words are not commands");
    says(std::string(100, 'W') + " " + std::string(300, 'f'));
    EXPECT_EQ(log.lines.back().text, std::string(40, 'W') + " " + std::string(240, 'f'));
}

TEST_F(DispatchTest, ReceivedLinesTakeTheWholeRoad)
{
    connectNow();
    deliver("WELCOME \xD0\xAF\tuser\tT\tG\nMSG 1\t\xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\t#000080\t\xF0\x9F\x98\x80!\r\n");
    EXPECT_EQ(session.welcomed, 1);
    EXPECT_STREQ(session.ownNick.s, "Я");
    EXPECT_EQ(log.lines.back().nick, "Вася");
    EXPECT_EQ(log.lines.back().text, "😀!");
}

TEST_F(DispatchTest, MessageBoxDuringAPassDefersLaterDataToThatPass)
{
    connectNow();
    host.duringMessageBox = [&] {
        // The box's message loop: more data arrives, then the box closes.
        transport.incoming.push_back("SYS 1\tafter the box\n");
        onSocketEvent(kSocketRead, 0);
        EXPECT_EQ(log.lines.back().text, "Ошибка 409: taken");
    };
    deliver("ERR 409\ttaken\nSYS 0\tbefore the box\n");
    size_t n = log.lines.size();
    EXPECT_EQ(log.lines[n - 2].text, "before the box");
    EXPECT_EQ(log.lines[n - 1].text, "after the box");
}
