// The administration panel's rules over a recording form: the exact lines
// each button sends through the real send path, and what the panel shows.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "admin/admin_actions.h"
#include "admin/admin_ids.h"
#include "shell/main_commands.h"
#include "fakes.h"

namespace {

struct FakeForm : PanelForm {
    std::map<int, std::string> text;
    std::map<int, bool> checked;
    std::vector<std::string> rows;
    int row = -1;
    bool answer = true;

    void getText(int id, char* t, size_t cap) override { copyText(t, cap, text[id].c_str()); }
    void setText(int id, const char* t) override { text[id] = t; }
    bool isChecked(int id) override { return checked[id]; }
    void setChecked(int id, bool on) override { checked[id] = on; }
    void enable(int, bool) override {}
    void clearRows() override { rows.clear(); }
    void addRow(const char* t) override { rows.push_back(t); }
    int selectedRow() override { return row; }
    bool askYesNo(const char*) override { return answer; }
    int selectedUser() override { return -1; }
    void mainTopic(char* t, size_t cap) override { copyText(t, cap, ""); }
};

using Lines = std::vector<std::string>;

const char* const kTextKeys[] = {"chat_title", "motd", "color_bg", "color_text", "color_sys", "color_pm",
                                 "color_panel", "banner_rotate_sec", "room_ttl_days", "max_msg_len", "flood_sec"};

class AdminPanelTest : public ::testing::Test, public SessionFixture {
protected:
    FakeForm form;

    // A global admin's panel over a configuration holding every key.
    void SetUp() override
    {
        connectNow();
        session.welcomed = 1;
        session.globalRole.set("admin");
        for (const char* key : kTextKeys)
            setCfgValue(session, key, key);
        setCfgValue(session, "guest_allowed", "1");
        setCfgValue(session, "chat_closed", "0");
        initAdminPanel(form);
    }
    // The lines a click sends, decoded from the wire into the code page.
    Lines click(int id)
    {
        transport.sent.clear();
        runPanelCommand(form, id, kNotifyClicked);
        Lines out;
        static char line[kDecodedLineCap];
        for (auto& l : transport.sentLines())
            out.push_back((decodeLine(l.data(), l.size(), line), line));
        return out;
    }
};

} // namespace

TEST_F(AdminPanelTest, SaveSendsOnlyWhatDiffersFromTheConfiguration)
{
    struct Case {
        const char* name;
        const char* dropKey;  // taken out of the configuration before the refill
        std::function<void(FakeForm&)> edit;
        Lines want;
    } cases[] = {
        {"unchanged", nullptr, [](FakeForm&) {}, {}},
        {"motd missing", "motd", [](FakeForm&) {}, {"SETCFG motd\t"}},
        {"guest_allowed missing, ticked", "guest_allowed", [](FakeForm&) {}, {}},
        {"guest_allowed missing, cleared", "guest_allowed",
         [](FakeForm& f) { f.checked[IDC_PANEL_GUESTS] = false; }, {"SETCFG guest_allowed\t0"}},
        {"tab in a colour", nullptr, [](FakeForm& f) { f.text[IDC_PANEL_COLOR_TEXT] = "#00\t000"; },
         {"SETCFG color_text\t#00 000"}},
        {"in key order", nullptr,
         [](FakeForm& f) {
             f.text[IDC_PANEL_FLOOD_SEC] = "5";
             f.text[IDC_PANEL_TITLE] = "Новый";
             f.checked[IDC_PANEL_CLOSED] = true;
         },
         {"SETCFG chat_title\tНовый", "SETCFG flood_sec\t5", "SETCFG chat_closed\t1"}},
    };
    for (auto& c : cases) {
        for (int i = 0; c.dropKey && i < session.cfgCount; i++)
            if (session.cfg[i].key.s == std::string(c.dropKey))
                session.cfg[i].key.set("gone");
        fillAdminPanel(form);
        c.edit(form);
        EXPECT_EQ(click(IDC_PANEL_SAVE), c.want) << c.name;
        EXPECT_EQ(form.text[IDC_PANEL_STATUS], kPanelSentText) << c.name;
        SetUp();  // the next case starts from the whole configuration again
    }
}

TEST_F(AdminPanelTest, BannerRowsSelectionToggleAndDelete)
{
    appendBannerItem(session, 3, "http://a/1.gif", "http://a", 5, 0);
    appendBannerItem(session, 4, "http://a/2.gif", "", -1, 7);
    rebuildBannerList(form);
    EXPECT_EQ(form.rows, (Lines{"(выкл) #3 w5 http://a/1.gif", "#4 w-1 http://a/2.gif"}));

    EXPECT_EQ(click(IDC_PANEL_TOGGLE), Lines{});  // nothing selected
    form.row = 1;
    runPanelCommand(form, IDC_PANEL_BANNERS, kNotifySelChange);
    EXPECT_EQ(form.text[IDC_PANEL_WEIGHT], "4294967295");
    EXPECT_EQ(click(IDC_PANEL_TOGGLE), Lines{"BANNERTOGGLE 4\t0"});
    form.row = 0;
    EXPECT_EQ(click(IDC_PANEL_TOGGLE), Lines{"BANNERTOGGLE 3\t1"});
    EXPECT_EQ(click(IDC_PANEL_DELETE), Lines{"BANNERDEL 3"});
    form.row = 2;  // a row the catalogue no longer has
    EXPECT_EQ(click(IDC_PANEL_DELETE), Lines{});
}

TEST_F(AdminPanelTest, AddChecksTheAddressAndDefaultsTheWeight)
{
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

TEST_F(AdminPanelTest, ModerationTakesOneLineFields)
{
    form.text[IDC_PANEL_REASON] = " флуд\tи\r\nмат";
    form.text[IDC_PANEL_MINUTES] = "";
    EXPECT_EQ(click(IDC_PANEL_BAN), Lines{});  // no nick
    form.text[IDC_PANEL_NICK] = "  Ва\tся \r\n";
    EXPECT_EQ(click(IDC_PANEL_BAN), Lines{"BAN Ва ся\t0\t флуд и  мат"});
    EXPECT_EQ(click(IDC_PANEL_SET_TOPIC), Lines{"TOPIC "});  // clears the topic
}

TEST_F(AdminPanelTest, WithoutAConnectionNothingIsSentAndTheStatusSaysSo)
{
    appendBannerItem(session, 3, "http://a/1.gif", "", 5, 1);
    form.row = 0;
    form.text[IDC_PANEL_NICK] = "Вася";
    form.text[IDC_PANEL_URL] = "http://a/2.gif";
    disconnect(nullptr);
    for (int id : {IDC_PANEL_SAVE, IDC_PANEL_ADD, IDC_PANEL_DELETE, IDC_PANEL_TOGGLE, IDC_PANEL_KICK, IDC_PANEL_BAN,
                   IDC_PANEL_UNBAN, IDC_PANEL_MOD, IDC_PANEL_UNMOD, IDC_PANEL_SET_TOPIC, IDC_PANEL_DELETE_ROOM}) {
        form.text[IDC_PANEL_STATUS] = "";
        EXPECT_EQ(click(id), Lines{}) << id;
        EXPECT_EQ(form.text[IDC_PANEL_STATUS], kPanelNotConnectedText) << id;
    }
}
