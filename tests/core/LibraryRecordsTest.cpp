#include "core/PlayListItem.h"
#include "support/Library.h"

#include <gtest/gtest.h>

TEST(EntryRecord, TypeFromTheExtensionInAnyCaseUnlessItIsAFolder) {
    const std::pair<const char*, int> types[] = {{"LIST.M3U", PLTYPE_M3U},
                                                 {"list.m3u8", PLTYPE_M3U},
                                                 {"a.pls", PLTYPE_PLS},
                                                 {"noext", PLTYPE_OTHER}};
    for (const auto& [fileName, type] : types) {
        EXPECT_EQ(TestEntry("t", "/m", fileName)->GetType(), type) << fileName;
    }
    CEntryPtr folder = TestEntry("t", "/m/a.m3u", "/m/a.m3u");
    EXPECT_EQ(folder->GetType(), PLTYPE_FOLDER);
    EXPECT_EQ(folder->GetFullPath(), "/m/a.m3u");
}
