// The administration panel's behaviour over a recording form: what it
// shows, and the exact lines each button sends through the real send path.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "admin_actions.h"
#include "admin_ids.h"
#include "fakes.h"
#include "main_commands.h"

namespace {

struct FakeForm : PanelForm {
    std::map<int, std::string> text;
    std::map<int, bool> checked, enabled;
    std::vector<std::string> rows, questions;
    int row = -1, user = -1;
    bool answer = false;
    std::string topic;

    void getText(int id, char* t, size_t cap) override { copyText(t, cap, text[id].c_str()); }
    void setText(int id, const char* t) override { text[id] = t; }
    bool isChecked(int id) override { return checked[id]; }
    void setChecked(int id, bool on) override { checked[id] = on; }
    void enable(int id, bool on) override { enabled[id] = on; }
    void clearRows() override { rows.clear(), row = -1; }
    void addRow(const char* t) override { rows.push_back(t); }
    int selectedRow() override { return row; }
    bool askYesNo(const char* t) override { return questions.push_back(t), answer; }
    int selectedUser() override { return user; }
    void mainTopic(char* t, size_t cap) override { copyText(t, cap, topic.c_str()); }
};

using Lines = std::vector<std::string>;

class AdminPanelTest : public ::testing::Test, public SessionFixture {
protected:
    FakeForm form;

    void open(const char* globalRole, const char* roomRole = "guest")
    {
        connectNow();
        session.welcomed = 1;
        session.globalRole.set(globalRole);
        session.roomRole.set(roomRole);
        initAdminPanel(form);
        transport.sent.clear();
    }
    // The lines sent, decoded from the wire back into the code page.
    Lines sentText()
    {
        Lines out;
        static char line[kDecodedLineCap];
        for (auto& l : transport.sentLines()) {
            decodeLine(l.data(), l.size(), line);
            out.push_back(line);
        }
        return out;
    }
    Lines click(int id)
    {
        transport.sent.clear();
        runPanelCommand(form, id, kNotifyClicked);
        return sentText();
    }
    static void fullConfiguration()
    {
        for (const char* key : {"chat_title", "motd", "color_bg", "color_text", "color_sys", "color_pm",
                                "color_panel", "banner_rotate_sec", "room_ttl_days", "max_msg_len", "flood_sec"})
            setCfgValue(session, key, key);
        setCfgValue(session, "guest_allowed", "1");
        setCfgValue(session, "chat_closed", "0");
    }
};

} // namespace

TEST_F(AdminPanelTest, SaveSendsOnlyWhatDiffersFromTheConfiguration)
{
    struct Case {
        const char* name;
        std::function<void()> before;  // on the configuration, before the panel refills
        std::function<void(FakeForm&)> edit;
        Lines want;
    } cases[] = {
        {"unchanged", [] {}, [](FakeForm&) {}, {}},
        {"motd missing", [] { session.cfg[1].key.set("x"); },
         [](FakeForm&) {}, {"SETCFG motd\t"}},
        {"tab in a colour", [] {}, [](FakeForm& f) { f.text[IDC_PANEL_COLOR_TEXT] = "#00\t000"; },
         {"SETCFG color_text\t#00 000"}},
        {"in key order", [] {},
         [](FakeForm& f) { f.text[IDC_PANEL_FLOOD_SEC] = "5"; f.text[IDC_PANEL_TITLE] = "Новый"; f.checked[IDC_PANEL_CLOSED] = true; },
         {"SETCFG chat_title\tНовый", "SETCFG flood_sec\t5", "SETCFG chat_closed\t1"}},
    };
    for (auto& c : cases) {
        resetSessionState(session);
        open("admin");
        fullConfiguration();
        c.before();
        fillAdminPanel(form);
        c.edit(form);
        EXPECT_EQ(click(IDC_PANEL_SAVE), c.want) << c.name;
        EXPECT_EQ(form.text[IDC_PANEL_STATUS], kPanelSentText) << c.name;
    }
}

TEST_F(AdminPanelTest, MissingGuestSwitchCountsAsOn)
{
    open("admin");
    fullConfiguration();
    session.cfg[11].key.set("other");  // guest_allowed gone
    fillAdminPanel(form);
    EXPECT_TRUE(form.checked[IDC_PANEL_GUESTS]);
    EXPECT_EQ(click(IDC_PANEL_SAVE), Lines{});
    form.checked[IDC_PANEL_GUESTS] = false;
    EXPECT_EQ(click(IDC_PANEL_SAVE), Lines{"SETCFG guest_allowed\t0"});
}

TEST_F(AdminPanelTest, ModeratorGetsModerationOnlyAndAdminTheWholePanel)
{
    form.topic = "Тема: о котах";
    session.chatTitle.set("Чат");
    appendUser(session, "Петя", 0, "", "user");
    form.user = 0;
    open("user", "mod");
    EXPECT_EQ(form.enabled.size(), 21u);
    for (auto& e : form.enabled)
        EXPECT_FALSE(e.second) << e.first;
    EXPECT_EQ(form.text[IDC_PANEL_STATUS], kPanelModeratorText);
    EXPECT_EQ(form.text[IDC_PANEL_TOPIC], "о котах");
    EXPECT_EQ(form.text[IDC_PANEL_TITLE], "Чат");  // no chat_title yet
    EXPECT_EQ(form.text[IDC_PANEL_NICK], "Петя");
    EXPECT_EQ(form.text[IDC_PANEL_WEIGHT] + form.text[IDC_PANEL_MINUTES], "1060");

    FakeForm adminForm;
    adminForm.user = 1;  // past the table: no nick
    session.globalRole.set("admin");
    transport.sent.clear();
    initAdminPanel(adminForm);
    EXPECT_EQ(transport.sentLines(), (Lines{"CFG", "BANNERS"}));
    EXPECT_TRUE(adminForm.enabled[IDC_PANEL_TOGGLE]);
    EXPECT_EQ(adminForm.text.count(IDC_PANEL_NICK), 0u);
    EXPECT_EQ(adminForm.text.count(IDC_PANEL_STATUS), 0u);
}

TEST_F(AdminPanelTest, BannerRowsSelectionToggleAndDelete)
{
    open("admin");
    appendBannerItem(session, 3, "http://a/1.gif", "http://a", 5, 0);
    appendBannerItem(session, 4, "http://a/2.gif", "", -1, 7);
    rebuildBannerList(form);
    EXPECT_EQ(form.rows, (Lines{"(выкл) #3 w5 http://a/1.gif", "#4 w-1 http://a/2.gif"}));

    EXPECT_EQ(click(IDC_PANEL_TOGGLE), Lines{});  // nothing selected
    form.row = 1;
    runPanelCommand(form, IDC_PANEL_BANNERS, kNotifySelChange);
    EXPECT_EQ(form.text[IDC_PANEL_WEIGHT], "4294967295");
    EXPECT_EQ(form.text[IDC_PANEL_LINK], "");
    EXPECT_EQ(click(IDC_PANEL_TOGGLE), Lines{"BANNERTOGGLE 4\t0"});
    form.row = 0;
    EXPECT_EQ(click(IDC_PANEL_TOGGLE), Lines{"BANNERTOGGLE 3\t1"});
    EXPECT_EQ(click(IDC_PANEL_DELETE), Lines{"BANNERDEL 3"});
    form.row = 2;
    EXPECT_EQ(click(IDC_PANEL_DELETE), Lines{});
}

TEST_F(AdminPanelTest, AddChecksTheAddressAndDefaultsTheWeight)
{
    open("admin");
    struct Case {
        const char *url, *link, *weight, *want;
    } cases[] = {
        {" http://b/x.gif ", "http://b", "", "BANNERADD http://b/x.gif\thttp://b\t10"},
        {"http://b/x.gif", "", "25", "BANNERADD http://b/x.gif\t\t25"},
        {"http://b/x.gif", "l\tk", "2147483648", "BANNERADD http://b/x.gif\tl k\t10"},
        {"http://b/x.gif", "", "99999999999", "BANNERADD http://b/x.gif\t\t10"},
        {"HTTP://b/x.gif", "", "5", nullptr},
        {"https://b/x.gif", "", "5", nullptr},
    };
    for (auto& c : cases) {
        form.text[IDC_PANEL_STATUS] = "";
        form.text[IDC_PANEL_URL] = c.url, form.text[IDC_PANEL_LINK] = c.link, form.text[IDC_PANEL_WEIGHT] = c.weight;
        EXPECT_EQ(click(IDC_PANEL_ADD), c.want ? Lines{c.want} : Lines{}) << c.url;
        EXPECT_EQ(form.text[IDC_PANEL_STATUS], c.want ? "" : kPanelBadUrlText) << c.url;
    }
}

TEST_F(AdminPanelTest, ModerationTopicAndRoomDeletion)
{
    open("user", "mod");
    session.currentRoom.set("Кухня");
    form.text[IDC_PANEL_REASON] = " флуд\tи\r\nмат";
    form.text[IDC_PANEL_MINUTES] = "";
    form.text[IDC_PANEL_TOPIC] = "";
    EXPECT_EQ(click(IDC_PANEL_KICK), Lines{});  // no nick
    form.text[IDC_PANEL_NICK] = "  Ва\tся \r\n";
    EXPECT_EQ(click(IDC_PANEL_KICK), Lines{"KICK Ва ся\t флуд и  мат"});
    EXPECT_EQ(click(IDC_PANEL_BAN), Lines{"BAN Ва ся\t0\t флуд и  мат"});
    EXPECT_EQ(click(IDC_PANEL_UNBAN), Lines{"UNBAN Ва ся"});
    EXPECT_EQ(click(IDC_PANEL_MOD), Lines{"MOD Ва ся"});
    EXPECT_EQ(click(IDC_PANEL_UNMOD), Lines{"UNMOD Ва ся"});
    EXPECT_EQ(click(IDC_PANEL_SET_TOPIC), Lines{"TOPIC "});

    EXPECT_EQ(click(IDC_PANEL_DELETE_ROOM), Lines{});
    EXPECT_EQ(form.questions, Lines{"Удалить комнату «Кухня»? Все будут переведены в Главную."});
    form.answer = true;
    EXPECT_EQ(click(IDC_PANEL_DELETE_ROOM), Lines{"ROOMDEL Кухня"});
    EXPECT_EQ(form.text[IDC_PANEL_STATUS], kPanelModeratorText);  // the buttons leave it alone
}

TEST_F(AdminPanelTest, WithoutAConnectionNothingIsSentAndTheStatusSaysSo)
{
    open("admin");
    appendBannerItem(session, 3, "http://a/1.gif", "", 5, 1);
    form.row = 0;
    form.text[IDC_PANEL_NICK] = "Вася";
    form.text[IDC_PANEL_URL] = "http://a/2.gif";
    form.answer = true;
    disconnect(nullptr);
    for (int id : {IDC_PANEL_SAVE, IDC_PANEL_ADD, IDC_PANEL_DELETE, IDC_PANEL_TOGGLE, IDC_PANEL_KICK, IDC_PANEL_BAN,
                   IDC_PANEL_UNBAN, IDC_PANEL_MOD, IDC_PANEL_UNMOD, IDC_PANEL_SET_TOPIC, IDC_PANEL_DELETE_ROOM}) {
        form.text[IDC_PANEL_STATUS] = "";
        EXPECT_EQ(click(id), Lines{}) << id;
        EXPECT_EQ(form.text[IDC_PANEL_STATUS], kPanelNotConnectedText) << id;
    }
    EXPECT_TRUE(form.questions.empty());
}
