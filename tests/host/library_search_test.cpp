// Read here, where the flag is chosen: Wine takes its own libraries from
// beside the program whatever the flags say.
#include "platform/runtime/library_search.h"

#include <gtest/gtest.h>

TEST(LibrarySearch, System32AloneNeitherTheProgramsFolderNorALibrarysOwn) {
  EXPECT_EQ(platform::kLibrarySearch, 0x800u) << "not 0x200 or 0x1000 (the program's), 0x100 (the DLL's), 0x400";
}
