// Wine takes its own libraries from beside the program whatever the flags
// say, so the flags are read here, where they are chosen.
#include "platform/runtime/library_search.h"

#include <gtest/gtest.h>

TEST(LibrarySearch, System32AloneInEveryRunAndForLinkLabelsImports) {
  EXPECT_EQ(platform::kLibrarySearch, 0x800u)
      << "LOAD_LIBRARY_SEARCH_SYSTEM32 alone: neither the program's folder (0x200, also in the defaults, 0x1000), "
         "nor a library's own for its imports (0x100), nor folders added (0x400)";
}
