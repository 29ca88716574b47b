// The host reader and the resource compiler agree on every dialog, control and string of our script: the
// host build shows the same templates the Windows build compiles in.
#include "CompiledResources.h"
#include "ProgramResources.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace wlan::rc::test {
namespace {

const CompiledResources& compiled() {
    static const CompiledResources resources = [] {
        std::ifstream in(WLAN_COMPILED_RESOURCES, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return readCompiledResources(bytes.str());
    }();
    return resources;
}

bool sameClass(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

TEST(CompiledResources, DialogsMatchTheCompilersTemplates) {
    const ResourceScript& script = programResources();
    ASSERT_EQ(compiled().dialogs.size(), script.dialogs.size());
    for (const auto& [id, dialog] : script.dialogs) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        auto found = compiled().dialogs.find(id);
        ASSERT_NE(found, compiled().dialogs.end());
        const CompiledDialog& c = found->second;
        EXPECT_EQ(dialog.style, c.style);
        EXPECT_EQ(dialog.exStyle, c.exStyle);
        EXPECT_EQ(dialog.helpId, c.helpId);
        EXPECT_EQ(dialog.caption, c.caption);
        EXPECT_EQ(dialog.rect.x, c.x);
        EXPECT_EQ(dialog.rect.y, c.y);
        EXPECT_EQ(dialog.rect.cx, c.cx);
        EXPECT_EQ(dialog.rect.cy, c.cy);
        ASSERT_TRUE(dialog.font.has_value());
        EXPECT_EQ(dialog.font->pointSize, c.pointSize);
        EXPECT_EQ(dialog.font->weight, c.weight);
        EXPECT_EQ(dialog.font->italic ? 1 : 0, c.italic);
        EXPECT_EQ(dialog.font->charset, c.charset);
        EXPECT_EQ(dialog.font->typeface, c.typeface);
        ASSERT_EQ(dialog.controls.size(), c.controls.size());
        for (std::size_t i = 0; i < c.controls.size(); ++i) {
            const DialogControl& mine = dialog.controls[i];
            const CompiledControl& theirs = c.controls[i];
            SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(mine.id) + ")");
            EXPECT_EQ(static_cast<std::uint32_t>(mine.id), theirs.id);
            EXPECT_TRUE(sameClass(mine.className, theirs.className))
                << mine.className << " / " << theirs.className;
            EXPECT_EQ(mine.text, theirs.text);
            EXPECT_EQ(mine.textOrdinal, theirs.textOrdinal);
            EXPECT_EQ(mine.style, theirs.style) << std::hex << mine.style << " / " << theirs.style;
            EXPECT_EQ(mine.exStyle, theirs.exStyle);
            EXPECT_EQ(mine.rect.x, theirs.x);
            EXPECT_EQ(mine.rect.y, theirs.y);
            EXPECT_EQ(mine.rect.cx, theirs.cx);
            EXPECT_EQ(mine.rect.cy, theirs.cy);
        }
    }
}

TEST(CompiledResources, StringsIconsAndVersionMatch) {
    const ResourceScript& script = programResources();
    EXPECT_EQ(script.strings, compiled().strings);
    ASSERT_EQ(compiled().iconGroups.size(), script.icons.size());
    for (const auto& [id, icon] : script.icons) {
        auto found = compiled().iconGroups.find(id);
        ASSERT_NE(found, compiled().iconGroups.end()) << id;
        EXPECT_EQ(static_cast<std::size_t>(found->second), icon.images.size()) << id;
    }
    ASSERT_TRUE(script.versionInfo.has_value());
    ASSERT_TRUE(compiled().fileVersion.has_value());
    EXPECT_EQ(script.versionInfo->fileVersion, *compiled().fileVersion);
}

} // namespace
} // namespace wlan::rc::test
