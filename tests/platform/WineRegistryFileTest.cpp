// Wine's registry text format: what the reader takes from a file and what the
// writer puts into one, checked against text as wineserver writes and reads it.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RegistryPath.h"
#include "platform/WineRegistryFile.h"

namespace veldra::platform {
namespace {

constexpr FileTime Now = 133500000000000000ULL;
const std::string Header = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";

WineRegistryLoad parse(std::string_view text) { return WineRegistryFile::parse(text, Now); }

WineRegistryFile parsed(std::string_view text) {
    WineRegistryLoad load = parse(text);
    if (!load.file) ADD_FAILURE() << "refused at line " << load.refusedLine;
    return load.file ? std::move(*load.file) : WineRegistryFile("", "");
}

std::vector<std::uint8_t> utf16Bytes(std::u16string_view units) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

// A string value as the registry holds it: UTF-16LE with the terminating NUL.
RegistryValue stringValue(std::u16string units, RegistryType type = RegistryType::String) {
    units.push_back(u'\0');
    return RegistryValue{type, utf16Bytes(units)};
}

const RegistryValue* valueAt(const WineRegistryFile& file, std::string_view path, std::u16string_view name) {
    const WineRegistryKey* key = file.findKey(path);
    return key ? key->findValue(name) : nullptr;
}

std::string hexList(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    char buffer[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
        text += (i ? "," : "") + std::string(buffer);
    }
    return text;
}

TEST(WineRegistryFile, RefusesTextThatIsNotAWineRegistry) {
    const std::vector<std::string> refused = {
        "",
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n",
        "Windows Registry Editor Version 5.00\r\n",
        "WINE REGISTRY Version 2 \n",             // trailing blank
        "\xEF\xBB\xBFWINE REGISTRY Version 2\n",  // byte order mark
        "wine registry version 2\n",
        "\nWINE REGISTRY Version 2\n",
    };
    for (const auto& text : refused) {
        const WineRegistryLoad load = parse(text);
        EXPECT_FALSE(load.file) << text;
        EXPECT_EQ(load.refusal, Msg::MsgRegistryFileNotWine) << text;
    }
    const WineRegistryLoad unknownArch = parse("WINE REGISTRY Version 2\n#arch=win128\n[A] 1\n");
    EXPECT_FALSE(unknownArch.file);
    EXPECT_EQ(unknownArch.refusal, Msg::MsgRegistryFileArchitecture);
    EXPECT_EQ(unknownArch.refusedLine, 2u);
    EXPECT_FALSE(parse("WINE REGISTRY Version 2\n#arch=win32\n#arch=win64\n").file);

    EXPECT_TRUE(parse("WINE REGISTRY Version 2").file);
    const WineRegistryLoad crlf = parse("WINE REGISTRY Version 2\r\n#arch=win32\r\n[A] 1\r\n\"v\"=\"x\"\r\n");
    ASSERT_TRUE(crlf.file);
    EXPECT_EQ(crlf.file->arch(), "win32");
    EXPECT_EQ(*valueAt(*crlf.file, "A", u"v"), stringValue(u"x"));
}

TEST(WineRegistryFile, ReadsEveryValueSyntax) {
    const WineRegistryFile file = parsed(Header + R"(
[Software\\Test] 1700000000
#class="Shell"
@="default"
"Sz"="plain"
"Tagged"=str:"tagged"
"Expand"=str(2):"%SystemRoot%\\x"
"Multi"=str(7):"a\0b\0"
"Dword"=dword:0000abcd
"Binary"=hex:d2,04
"Qword"=hex(b):01,02,03,04,05,06,07,08
"None"=hex(0):
"Vendor"=hex(ffff0007):03,00,00,00
"TypedText"=hex(1):41,00,00,00
 "Indented" = "spaces around"
)");
    const auto at = [&](std::u16string_view name) { return valueAt(file, "Software\\Test", name); };
    ASSERT_TRUE(at(u""));
    EXPECT_EQ(*at(u""), stringValue(u"default"));
    EXPECT_EQ(*at(u"Sz"), stringValue(u"plain"));
    EXPECT_EQ(*at(u"Tagged"), stringValue(u"tagged"));
    EXPECT_EQ(*at(u"Expand"), stringValue(u"%SystemRoot%\\x", RegistryType::ExpandString));
    EXPECT_EQ(*at(u"Multi"), stringValue(std::u16string(u"a\0b\0", 4), RegistryType::MultiString));
    EXPECT_EQ(*at(u"Dword"), (RegistryValue{RegistryType::Dword, {0xcd, 0xab, 0, 0}}));
    EXPECT_EQ(*at(u"Binary"), (RegistryValue{RegistryType::Binary, {0xd2, 0x04}}));
    EXPECT_EQ(*at(u"Qword"), (RegistryValue{RegistryType::Qword, {1, 2, 3, 4, 5, 6, 7, 8}}));
    EXPECT_EQ(*at(u"None"), (RegistryValue{RegistryType::None, {}}));
    EXPECT_EQ(*at(u"Vendor"), (RegistryValue{static_cast<RegistryType>(0xffff0007u), {3, 0, 0, 0}}));
    EXPECT_EQ(*at(u"TypedText"), (RegistryValue{RegistryType::String, {0x41, 0, 0, 0}}));
    EXPECT_EQ(*at(u"Indented"), stringValue(u"spaces around"));
    EXPECT_EQ(file.findKey("Software\\Test")->keyClass, u"Shell");
    EXPECT_EQ(file.relativeTo(), "REGISTRY\\\\Machine");
    EXPECT_EQ(file.arch(), "win64");
}

TEST(WineRegistryFile, DecodesEscapesAndUtf8) {
    const WineRegistryFile file = parsed(Header + "\n[Key \\[1\\]\\\\Sub] 1\n"
                                                  R"("Esc\"aped"="a\\b\"c\x00d6\xdfg\x41BC\101\0\t\n\e\q\x")"
                                                  "\n\"Raw\"=\"\xC3\x96sterreich \xC3\x9F \xF0\x9F\x97\xBA\xFF!\"\n");
    const RegistryValue* escaped = valueAt(file, "Key [1]\\Sub", u"Esc\"aped");
    ASSERT_TRUE(escaped);
    const std::u16string expected{u'a',    u'\\', u'b',  u'"',  u'c',  0xD6,  0xDF, u'g', 0x41BC,
                                  u'A',    0,     u'\t', u'\n', 0x1B,  u'q',  u'x'};
    EXPECT_EQ(*escaped, stringValue(expected));
    // Raw UTF-8, a character outside the BMP as a surrogate pair, a stray byte dropped.
    const RegistryValue* raw = valueAt(file, "key [1]\\SUB", u"raw");
    ASSERT_TRUE(raw);
    EXPECT_EQ(*raw, stringValue(u"Österreich ß \U0001F5FA!"));
}

TEST(WineRegistryFile, WritesEscapesThatWineReadsBack) {
    WineRegistryFile file("REGISTRY\\\\Machine", "win64");
    WineRegistryKey* key = file.createKey("Näme [x]", Now);
    ASSERT_TRUE(key);
    const std::u16string text{0xD6, u'a', 0xDF, u' ', u'\\', u'"', u'\t', 0x01, u'7', 0x02, u'x', 0,
                              0xD83D, 0xDDFA, 0x7F, 0x1B};
    key->setValue(u"Say \"hi\"", stringValue(text));
    const std::string written = file.serialize();
    EXPECT_NE(written.find("\n[N\\x00e4me \\[x\\]] "), std::string::npos) << written;
    EXPECT_NE(written.find("\n\"Say \\\"hi\\\"\"=\"\\x00d6a\\x00df \\\\\\\"\\t\\0017\\2x\\0\\xd83d\\xddfa\x7f\\e\"\n"),
              std::string::npos)
        << written;
    const WineRegistryFile reread = parsed(written);
    const RegistryValue* value = valueAt(reread, "NÄME [X]", u"say \"HI\"");
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, stringValue(text));
}

// Where the writer breaks long lines is checked on a whole file Wine wrote
// (PrefixBackendsWine); here, what the reader takes.
TEST(WineRegistryFile, LongBinaryValuesAreReadInAnyLayout) {
    std::vector<std::uint8_t> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    WineRegistryFile file("REGISTRY\\\\Machine", "win64");
    file.createKey("K", Now)->setValue(u"A somewhat long value name", RegistryValue{RegistryType::Binary, bytes});
    EXPECT_EQ(*valueAt(parsed(file.serialize()), "K", u"a somewhat long value name"),
              (RegistryValue{RegistryType::Binary, bytes}));

    // The reader takes blanks between bytes, upper case, text after the
    // backslash and a single long line alike.
    const WineRegistryFile loose =
        parsed(Header + "[K] 1\n\"V\"=hex:D2 ,04, \\ anything here\n   FF,0x10\n\"W\"=hex:" + hexList(bytes) + "\n");
    EXPECT_EQ(*valueAt(loose, "K", u"V"), (RegistryValue{RegistryType::Binary, {0xd2, 0x04, 0xff, 0x10}}));
    EXPECT_EQ(*valueAt(loose, "K", u"W"), (RegistryValue{RegistryType::Binary, bytes}));
}

TEST(WineRegistryFile, ReadsMalformedLinesAsWineDoesAndKeepsThemAsTheyAre) {
    const std::string text = Header + R"("Orphan"="no key yet"
[Software\\Bad] 1
"WrongTag"=str(3):"x"
"BadHex"=hex:01,02,zz
"BigByte"=hex:100
"Unclosed"="abc
"Cut"=hex:01,\
"Eaten"="the continuation of Cut"
"Wide"=dword:12345678ff
"NoEquals" "x"
"Unterminated name
just some text
"Twice"="first"
"TWICE"="second"
[Software\\Unclosed key
"Lost"="value"
[Software\\Bad] 2
"More"="merged"
)";
    WineRegistryLoad load = parse(text);
    ASSERT_TRUE(load.file);
    WineRegistryFile& file = *load.file;
    WineRegistryKey* bad = file.findKey("Software\\Bad");
    ASSERT_TRUE(bad);
    const auto at = [bad](std::u16string_view name) -> std::optional<RegistryValue> {
        const RegistryValue* value = bad->findValue(name);
        return value ? std::optional(*value) : std::nullopt;
    };
    // wineserver keeps a value whose data it cannot read as an empty value of type 0.
    for (const auto name : {u"WrongTag", u"BadHex", u"BigByte", u"Unclosed", u"Cut"})
        EXPECT_EQ(at(name), RegistryValue{}) << std::string(name, name + 3);
    EXPECT_EQ(at(u"Eaten"), std::nullopt);
    EXPECT_EQ(at(u"Wide"), RegistryValue::fromDword(0x345678ff));
    EXPECT_EQ(at(u"NoEquals"), std::nullopt);
    EXPECT_EQ(at(u"Unterminated name"), std::nullopt);
    EXPECT_EQ(at(u"twice"), stringValue(u"second"));
    const auto twice = std::find_if(bad->values.begin(), bad->values.end(),
                                    [](const auto& entry) { return compareRegistryNames(entry.name, u"TWICE") == 0; });
    EXPECT_EQ(twice->name, u"Twice");  // the first spelling stays
    EXPECT_EQ(at(u"More"), stringValue(u"merged"));
    EXPECT_EQ(bad->modified, fileTimeFromUnixSeconds(1));  // the first time given
    EXPECT_FALSE(file.findKey("Software\\Unclosed key"));
    EXPECT_EQ(file.root().values.size(), 0u);
    std::string warnings;
    for (const auto& warning : load.warnings) warnings += warning + "\n";
    EXPECT_EQ(load.warnings.size(), 11u) << warnings;
    EXPECT_NE(warnings.find("line 5: value outside a key kept as it is"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("line 11: malformed value read as empty"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("line 16: unrecognized line kept as it is"), std::string::npos) << warnings;

    // Every line the reader could not read goes back unchanged: before the
    // first key, among the values after the value it followed, or after the
    // section that preceded an unreadable key line.
    const std::string written = file.serialize();
    EXPECT_EQ(written, Header + R"("Orphan"="no key yet"

[Software\\Bad] 1
#time=19db1ded5d71680
"BadHex"=hex:01,02,zz
"BigByte"=hex:100
"Cut"=hex:01,\
"Eaten"="the continuation of Cut"
"More"="merged"
"Twice"="second"
"Unclosed"="abc
"Wide"=dword:345678ff
"NoEquals" "x"
"Unterminated name
just some text
"WrongTag"=str(3):"x"

[Software\\Unclosed key
"Lost"="value"
)");
    const WineRegistryLoad again = parse(written);
    ASSERT_TRUE(again.file);
    EXPECT_EQ(again.file->serialize(), written);
    EXPECT_EQ(again.warnings.size(), 11u);
    EXPECT_EQ(file.unsafeLine(), std::nullopt);

    // A value set anew replaces its unreadable lines; the key knows the first line it keeps.
    EXPECT_EQ(bad->firstKeptLine(), 7u);
    bad->setValue(u"wrongtag", stringValue(u"fixed"));
    bad->removeValue(u"BadHex");
    const std::string changed = file.serialize();
    EXPECT_NE(changed.find("\n\"WrongTag\"=\"fixed\"\n"), std::string::npos) << changed;
    EXPECT_EQ(changed.find("str(3)"), std::string::npos);
    EXPECT_EQ(changed.find("zz"), std::string::npos);
    EXPECT_EQ(bad->firstKeptLine(), 9u);
}

TEST(WineRegistryFile, AValueCutAfterAContinuationIsNotSafeToSave) {
    // Written back, its continuation would swallow the line that follows it.
    const WineRegistryLoad cut = parse(Header + "\n[K] 1\n\"A\"=\"a\"\n\"Cut\"=hex:01,02,\\");
    ASSERT_TRUE(cut.file);
    EXPECT_EQ(cut.file->unsafeLine(), 8u);
    EXPECT_EQ(*valueAt(*cut.file, "K", u"Cut"), RegistryValue{});
    EXPECT_EQ(parse(Header + "\n[K] 1\n\"Cut\"=hex:01,\\\n  02\n").file->unsafeLine(), std::nullopt);
}

TEST(WineRegistryFile, KeysAreBoundedInDepthAndNeverWalkedByRecursion) {
    std::string deepest = "K";
    for (std::size_t level = 1; level < MaxKeyDepth; ++level) deepest += "\\\\K";
    const std::string tooDeep = deepest + "\\\\K";
    WineRegistryLoad load =
        parse(Header + "\n[" + deepest + "] 1\n\"V\"=\"ok\"\n\n[" + tooDeep + "] 1\n\"W\"=\"x\"\n");
    ASSERT_TRUE(load.file);
    std::string path = "K";
    for (std::size_t level = 1; level < MaxKeyDepth; ++level) path += "\\K";
    EXPECT_EQ(*valueAt(*load.file, path, u"V"), stringValue(u"ok"));
    EXPECT_FALSE(load.file->findKey(path + "\\K"));
    EXPECT_FALSE(load.file->createKey(path + "\\K", Now));
    EXPECT_NE(load.file->serialize().find("\n\n[" + tooDeep + "] 1\n\"W\"=\"x\"\n"), std::string::npos);

    // A chain of keys far deeper than any file holds is written and taken
    // apart without running out of stack.
    WineRegistryFile chain("REGISTRY\\\\Machine", "win64");
    WineRegistryKey* key = &chain.root();
    for (int level = 0; level < 200000; ++level) key = &key->obtainSubkey(u"k", Now);
    key->setValue(u"v", RegistryValue::fromDword(1));
    EXPECT_GT(chain.serialize().size(), 600000u);
}

// Enumeration order and names without case are the registry contract's; here,
// the order in which keys are written.
TEST(WineRegistryFile, WritesKeysInWinesOrder) {
    WineRegistryFile file = parsed(Header + "[Ä] 1\n\"v\"=\"1\"\n[b\\\\child] 1\n[A1] 1\n[a] 1\n");
    ASSERT_TRUE(file.createKey("B\\CHILD\\New", Now));
    ASSERT_TRUE(file.createKey("AB", Now));
    const std::string written = file.serialize();
    // "b" holds only a subkey and is not written itself.
    EXPECT_EQ(written.find("\n[b] "), std::string::npos);
    EXPECT_LT(written.find("\n[a] "), written.find("\n[A1] "));
    EXPECT_LT(written.find("\n[A1] "), written.find("\n[AB] "));
    EXPECT_LT(written.find("\n[AB] "), written.find("\n[b\\\\child\\\\New] "));
    EXPECT_LT(written.find("\n[b\\\\child\\\\New] "), written.find("\n[\\x00c4] "));
}

TEST(WineRegistryFile, FollowsLinksWithinTheFileAndKeepsThem) {
    const auto link = [](const std::string& path, std::u16string_view target) {
        return "[" + path + "] 1\n#link\n\"SymbolicLinkValue\"=hex(6):" + hexList(utf16Bytes(target)) + "\n";
    };
    WineRegistryFile file = parsed(Header + "[Software\\\\Classes\\\\.txt] 1\n@=\"txtfile\"\n" +
                                   link("Software\\\\Wow6432Node\\\\Classes", u"\\REGISTRY\\MACHINE\\Software\\Classes") +
                                   link("Software\\\\Elsewhere", u"\\Registry\\User\\S-1-5-21-0-0-0-1000\\Software") +
                                   link("Software\\\\Loop", u"\\Registry\\Machine\\Software\\Loop"));
    const WineRegistryKey* classes = file.findKey("Software\\Classes");
    EXPECT_EQ(file.findKey("Software\\Wow6432Node\\Classes"), classes);
    EXPECT_EQ(file.findKey("Software\\Wow6432Node\\Classes\\.TXT"), file.findKey("Software\\Classes\\.txt"));
    EXPECT_TRUE(file.findKey("Software\\Wow6432Node\\Classes", false)->isLink);

    // New keys below a link go to its target; the link keeps only its value.
    const std::string before = file.serialize();
    WineRegistryKey* created = file.createKey("Software\\Wow6432Node\\Classes\\.img\\Shell", Now);
    ASSERT_TRUE(created);
    EXPECT_EQ(created, file.findKey("Software\\Classes\\.img\\Shell"));
    const WineRegistryKey* linkKey = file.findKey("Software\\Wow6432Node\\Classes", false);
    EXPECT_TRUE(linkKey->subkeys.empty());
    EXPECT_EQ(linkKey->values.size(), 1u);

    // Links out of the file, and loops, lead nowhere.
    EXPECT_FALSE(file.findKey("Software\\Elsewhere"));
    EXPECT_FALSE(file.createKey("Software\\Elsewhere\\New", Now));
    EXPECT_FALSE(file.findKey("Software\\Loop\\x"));
    EXPECT_NE(before.find("#link\n\"SymbolicLinkValue\"=hex(6):5c,00,52,00,45,00"), std::string::npos);
}

// A walk starts from the keys of the path walked before it and tries the
// next sibling first; keys made or taken out in between must not mislead it.
TEST(WineRegistryFile, FindsTheSameKeysWhicheverPathWasWalkedBefore) {
    WineRegistryFile file = parsed(Header + "[Maps\\\\B\\\\1] 1\n[Maps\\\\C\\\\1] 1\n[Maps\\\\D\\\\1] 1\n");
    const auto pathOf = [&file](std::string_view path) {
        std::u16string found;
        for (const WineRegistryKey* key = file.findKey(path); key && key->parent; key = key->parent) {
            if (!found.empty()) found.insert(0, u"\\");
            found.insert(0, std::u16string_view(key->name));
        }
        return found;
    };
    EXPECT_EQ(pathOf("Maps\\B\\1"), u"Maps\\B\\1");
    EXPECT_EQ(pathOf("Maps\\C"), u"Maps\\C");
    ASSERT_TRUE(file.createKey("Maps\\BB", Now));  // C moves one place on
    EXPECT_EQ(pathOf("Maps\\B"), u"Maps\\B");
    EXPECT_EQ(pathOf("Maps\\C"), u"Maps\\C");
    EXPECT_EQ(pathOf("MAPS\\d\\\\1\\"), u"Maps\\D\\1");

    file.removeKey(*file.findKey("Maps\\C\\1"));
    EXPECT_EQ(pathOf("Maps\\C\\1"), u"");
    EXPECT_EQ(pathOf("Maps\\C"), u"Maps\\C");
    file.removeKey(*file.findKey("Maps\\C"));
    EXPECT_EQ(pathOf("Maps\\BB"), u"Maps\\BB");
    EXPECT_EQ(pathOf("Maps\\C"), u"");
    EXPECT_EQ(pathOf("Maps\\D\\1"), u"Maps\\D\\1");
    const std::string written = file.serialize();
    EXPECT_EQ(written.find("[Maps\\\\C"), std::string::npos) << written;
    EXPECT_NE(written.find("\n[Maps\\\\BB] "), std::string::npos) << written;
    EXPECT_NE(written.find("\n[Maps\\\\D\\\\1] "), std::string::npos) << written;
}

TEST(WineRegistryFile, DatesKeysAsWineDoes) {
    WineRegistryFile file = parsed(Header + R"(
[Only\\Seconds] 1700000000
[Both] 1700000000
#time=1d9fd7b3c54a123
[No\\Time]
[] 1600000000
#time=1d9fd7b3c54a000
@="root value"
)");
    EXPECT_EQ(file.findKey("Only\\Seconds")->modified, fileTimeFromUnixSeconds(1700000000));
    EXPECT_EQ(file.findKey("Both")->modified, 0x1d9fd7b3c54a123u);
    EXPECT_EQ(file.findKey("No\\Time")->modified, Now);
    EXPECT_EQ(file.findKey("No")->modified, Now);  // a parent takes its first child's time
    EXPECT_EQ(file.root().modified, Now);          // the root is dated when loading starts

    // A new key and the parent it is added to take the time of the change.
    ASSERT_TRUE(file.createKey("Only\\Fresh", Now));
    EXPECT_EQ(file.findKey("Only")->modified, Now);
    const std::string written = file.serialize();
    // The seconds on the key line are written from the exact time.
    EXPECT_NE(written.find("\n[Both] 1697163371\n#time=1d9fd7b3c54a123\n"), std::string::npos) << written;
    EXPECT_NE(written.find("\n[Only\\\\Fresh] 1705526400\n#time=1da498aed83c000\n"), std::string::npos) << written;
}

}  // namespace
}  // namespace veldra::platform
