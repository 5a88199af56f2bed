// The help text (resources/readme.txt) against the program it describes.
//
// How the readme names the program's parts, so that this test can find every
// name and check it against the program's own tables:
// - Chinese comes first; the English half starts at the line "Grabwell Help".
// - A menu command or a toolbar tooltip stands in “” in the Chinese half and
//   in "" in the English half, on one line. Nothing else is quoted with
//   those marks (buttons of the system's message boxes are written bare).
// - A menu caption is written as the menu shows it (the access-key & gone),
//   and may drop a trailing "..." and an access-key group glued to its end:
//   “打开” for 打开(&O), "About Grabwell" for &About Grabwell... The English
//   half may name Chinese captions too: the menus start out in Chinese.
// - A shortcut right after a caption, (Ctrl+S) or （Ctrl+S）, is that item's
//   accelerator in the resource script.
// - A toolbar button is placed as 第N个按钮 or "the Nth button", counting
//   the buttons a user sees (gaps and the divider are no buttons), and its
//   tooltip follows on the same line.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/language_file.h"
#include "core/toolbar.h"
#include "tests/shared/source_tree.h"

namespace grabwell::core {
namespace {

// The toolbar as a user sees it, left to right, by tooltip. The one place
// this test reads the toolbar table.
std::vector<std::u16string> VisibleButtonTooltips() {
    std::vector<std::u16string> tips;
    for (const auto& button : kToolbarButtons) {
        if (button.kind == ToolbarKind::Button) tips.emplace_back(button.tooltip);
    }
    return tips;
}

// A language file's lines; the menu captions are those from mnuFile on.
std::vector<std::u16string> LanguageLines(const std::string& file) {
    return DecodeLanguageFile(grabwell::testing::ReadSourceFile("resources/language/" + file), nullptr);
}
constexpr std::size_t kFirstMenuLine = LanguageLineOf(IDM_mnuFile);

// The names a reader may use for a menu caption.
std::set<std::u16string> NamesOf(std::u16string_view caption) {
    std::u16string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    std::set<std::u16string> names{shown};
    if (shown.ends_with(u"...")) names.insert(shown.erase(shown.size() - 3));
    const auto open = shown.rfind(u'(');
    if (shown.ends_with(u')') && open != std::u16string::npos && open > 0 && shown[open - 1] != u' ') {
        names.insert(shown.substr(0, open));
    }
    return names;
}

struct Name {
    std::string utf8;
    std::u16string text;
    std::size_t end;  // byte offset in its line, just past the closing quote
};

struct Half {
    std::string title;
    std::string open, close;  // the quotes that mark a name
    std::string strayQuote;   // the other half's quote, which must not appear here
    std::vector<std::string> lines;
    std::vector<std::vector<Name>> names;  // per line
};

struct Readme {
    Half chinese{"Chinese", "\u201C", "\u201D", "\"", {}, {}};
    Half english{"English", "\"", "\"", "\u201C", {}, {}};
};

void FindNames(Half& half) {
    for (const std::string& line : half.lines) {
        std::vector<Name>& found = half.names.emplace_back();
        EXPECT_EQ(line.find(half.strayQuote), std::string::npos) << half.title << ": " << line;
        for (std::size_t at = line.find(half.open); at != std::string::npos;) {
            const std::size_t begin = at + half.open.size();
            const std::size_t end = line.find(half.close, begin);
            if (end == std::string::npos) {
                ADD_FAILURE() << half.title << ": a name runs past its line: " << line;
                break;
            }
            const std::string name = line.substr(begin, end - begin);
            found.push_back({name, Utf8ToUtf16(name), end + half.close.size()});
            at = line.find(half.open, end + half.close.size());
        }
    }
}

const Readme& LoadReadme() {
    static const Readme readme = [] {
        Readme r;
        const std::string bytes = grabwell::testing::ReadSourceFile("resources/readme.txt");
        // Notepad tells UTF-8 by the BOM; every Notepad ends a line at CR LF.
        EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_TRUE(IsValidUtf8(bytes));
        Half* half = &r.chinese;
        for (std::size_t at = 3; at < bytes.size();) {
            const std::size_t end = bytes.find("\r\n", at);
            const std::string line = bytes.substr(at, end - at);
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a line end other than CR LF: " << line;
            if (line == "Grabwell Help") half = &r.english;
            half->lines.push_back(line);
            at = end == std::string::npos ? bytes.size() : end + 2;
        }
        EXPECT_GT(r.chinese.lines.size(), 100u);
        EXPECT_GT(r.english.lines.size(), 100u);
        FindNames(r.chinese);
        FindNames(r.english);
        return r;
    }();
    return readme;
}

std::set<std::u16string> MenuNames(const std::vector<std::u16string>& lines) {
    std::set<std::u16string> names;
    for (std::size_t i = kFirstMenuLine; i < lines.size(); ++i) names.merge(NamesOf(lines[i]));
    return names;
}

std::set<std::u16string> NamesUsed(const Half& half) {
    std::set<std::u16string> used;
    for (const auto& line : half.names) {
        for (const Name& name : line) used.insert(name.text);
    }
    return used;
}

TEST(Readme, EveryQuotedNameIsAMenuCaptionOrTooltipOfTheProgram) {
    const Readme& readme = LoadReadme();
    const auto tips = VisibleButtonTooltips();
    std::set<std::u16string> chinese = MenuNames(LanguageLines("chinese.lng"));
    chinese.insert(tips.begin(), tips.end());
    std::set<std::u16string> english = MenuNames(LanguageLines("English.lng"));
    english.insert(chinese.begin(), chinese.end());
    for (const auto& [half, known] : {std::pair{&readme.chinese, &chinese}, std::pair{&readme.english, &english}}) {
        for (const auto& line : half->names) {
            for (const Name& name : line) {
                EXPECT_TRUE(known->contains(name.text))
                    << half->title << " half names what the program does not show: " << name.utf8;
            }
        }
    }
}

TEST(Readme, EachHalfNamesEveryMenuCommandAndEveryButton) {
    const Readme& readme = LoadReadme();
    const auto tips = VisibleButtonTooltips();
    for (const auto& [half, file] : {std::pair{&readme.chinese, "chinese.lng"}, std::pair{&readme.english, "English.lng"}}) {
        const std::set<std::u16string> used = NamesUsed(*half);
        const auto lines = LanguageLines(file);
        for (std::size_t i = kFirstMenuLine; i < lines.size(); ++i) {
            const auto names = NamesOf(lines[i]);
            EXPECT_TRUE(std::ranges::any_of(names, [&](const auto& n) { return used.contains(n); }))
                << half->title << " half never names the menu caption of line " << i + 1;
        }
        for (std::size_t i = 0; i < tips.size(); ++i) {
            EXPECT_TRUE(used.contains(tips[i])) << half->title << " half never names button " << i + 1;
        }
    }
}

// "第六个和第七个按钮" or "the sixth and seventh buttons": the places it names.
std::vector<int> Ordinals(const std::smatch& match, const std::map<std::string, int>& words) {
    std::vector<int> places;
    for (std::size_t group = 1; group < match.size(); ++group) {
        if (!match[group].matched) continue;
        std::string word = match[group].str();
        std::ranges::transform(word, word.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
        if (word.front() >= '0' && word.front() <= '9') {
            places.push_back(std::stoi(word));
        } else {
            places.push_back(words.at(word));
        }
    }
    return places;
}

TEST(Readme, ButtonsArePlacedAmongTheButtonsAUserSees) {
    const Readme& readme = LoadReadme();
    const auto tips = VisibleButtonTooltips();
    const std::string zh = "(\\d+|十一|十二|十三|一|二|三|四|五|六|七|八|九|十)";
    const std::string en = "(\\d+(?:st|nd|rd|th)|first|second|third|fourth|fifth|sixth|seventh|eighth|ninth|"
                           "tenth|eleventh|twelfth|thirteenth)";
    const std::map<std::string, int> words{
        {"一", 1}, {"二", 2}, {"三", 3}, {"四", 4}, {"五", 5}, {"六", 6}, {"七", 7}, {"八", 8}, {"九", 9},
        {"十", 10}, {"十一", 11}, {"十二", 12}, {"十三", 13}, {"first", 1}, {"second", 2}, {"third", 3},
        {"fourth", 4}, {"fifth", 5}, {"sixth", 6}, {"seventh", 7}, {"eighth", 8}, {"ninth", 9},
        {"tenth", 10}, {"eleventh", 11}, {"twelfth", 12}, {"thirteenth", 13}};
    const std::pair<const Half*, std::regex> halves[] = {
        {&readme.chinese, std::regex("第\\s*" + zh + "\\s*个(?:和第\\s*" + zh + "\\s*个)?按钮")},
        {&readme.english, std::regex("\\b" + en + "(?: and " + en + ")? buttons?\\b", std::regex::icase)}};
    // Slot numbers count the gaps a user never sees.
    const std::regex slotNumber("buttons? \\d|按钮\\s*\\d", std::regex::icase);
    int placed = 0;
    for (const auto& [half, ordinal] : halves) {
        for (std::size_t l = 0; l < half->lines.size(); ++l) {
            const std::string& line = half->lines[l];
            EXPECT_FALSE(std::regex_search(line, slotNumber)) << "a button by its slot number: " << line;
            for (auto it = std::sregex_iterator(line.begin(), line.end(), ordinal); it != std::sregex_iterator(); ++it) {
                const auto end = static_cast<std::size_t>(it->position() + it->length());
                const auto& names = half->names[l];
                const auto tip = std::ranges::find_if(names, [&](const Name& n) {
                    return n.end > end && std::ranges::find(tips, n.text) != tips.end();
                });
                ASSERT_NE(tip, names.end()) << "a button placed without its tooltip after it: " << line;
                for (const int place : Ordinals(*it, words)) {
                    ++placed;
                    ASSERT_GE(place, 1) << line;
                    ASSERT_LE(place, static_cast<int>(tips.size())) << "there are only " << tips.size()
                                                                   << " buttons: " << line;
                    EXPECT_EQ(tips[static_cast<std::size_t>(place - 1)], tip->text) << "button " << place << ": " << line;
                }
            }
        }
    }
    EXPECT_GE(placed, 2 * static_cast<int>(tips.size())) << "each half places every button";
}

TEST(Readme, ShortcutsGivenWithACaptionAreThatItemsAccelerator) {
    const Readme& readme = LoadReadme();
    const std::string script = grabwell::testing::ReadSourceFile("resources/Grabwell.rc");
    std::map<std::u16string, std::string> itemOfCaption;  // 保存(&S) -> IDM_mnusave
    const std::regex menuItem(R"rc((?:MENUITEM|POPUP)\s+"([^"\\]*)(?:\\t[^"]*)?"\s*,\s*(IDM_\w+))rc");
    for (auto it = std::sregex_iterator(script.begin(), script.end(), menuItem); it != std::sregex_iterator(); ++it) {
        itemOfCaption[Utf8ToUtf16((*it)[1].str())] = (*it)[2].str();
    }
    std::map<std::string, std::string> keyOfItem;  // IDM_mnusave -> Ctrl+S
    const std::regex accelerator(R"rc("([A-Z])"\s*,\s*(IDM_\w+)\s*,\s*VIRTKEY\s*,\s*CONTROL[ \t]*\r?\n)rc");
    for (auto it = std::sregex_iterator(script.begin(), script.end(), accelerator); it != std::sregex_iterator(); ++it) {
        keyOfItem[(*it)[2].str()] = "Ctrl+" + (*it)[1].str();
    }
    ASSERT_EQ(keyOfItem.size(), 4u) << "the resource script's accelerators were not read";

    // The menu item behind a line of the language files is the one that
    // carries that line's Chinese caption in the resource script.
    const auto chinese = LanguageLines("chinese.lng");
    const std::vector<std::vector<std::u16string>> languages{chinese, LanguageLines("English.lng")};
    const std::regex shortcut("^\\s*(?:\\(|（)(Ctrl\\+[A-Z])(?:\\)|）)");
    std::set<std::string> given;
    for (const Half* half : {&readme.chinese, &readme.english}) {
        for (std::size_t l = 0; l < half->lines.size(); ++l) {
            for (const Name& name : half->names[l]) {
                std::smatch match;
                const std::string rest = half->lines[l].substr(name.end);
                if (!std::regex_search(rest, match, shortcut)) continue;
                std::set<std::string> keys;
                for (const auto& lines : languages) {
                    for (std::size_t i = kFirstMenuLine; i < lines.size(); ++i) {
                        if (!NamesOf(lines[i]).contains(name.text)) continue;
                        const auto item = itemOfCaption.find(chinese[i]);
                        ASSERT_NE(item, itemOfCaption.end()) << "line " << i + 1 << " has no menu item";
                        if (keyOfItem.contains(item->second)) keys.insert(keyOfItem[item->second]);
                    }
                }
                EXPECT_TRUE(keys.contains(match[1].str())) << half->title << " half gives " << match[1].str()
                                                          << " to an item with other keys: " << half->lines[l];
                given.insert(match[1].str());
            }
        }
    }
    for (const auto& [itemName, key] : keyOfItem) {
        EXPECT_TRUE(given.contains(key)) << "the readme never gives " << key << " with its command";
    }
}

}  // namespace
}  // namespace grabwell::core
