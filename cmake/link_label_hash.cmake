# Writes the header that tells Vorlind.exe the SHA-256 of the LinkLabel.dll
# built with it, which is the only LinkLabel.dll it copies.
#   cmake -DDLL=<LinkLabel.dll> -DOUT=<header> -P link_label_hash.cmake
#   cmake -DHASH=<64 hex digits> -DOUT=<header> -P link_label_hash.cmake
# The header is rewritten only when the hash changed, so that the program
# is compiled again only then.
if(DEFINED DLL)
  file(SHA256 ${DLL} HASH)
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," BYTES "${HASH}")
file(WRITE ${OUT}.new "#pragma once
// Written by the build (cmake/link_label_hash.cmake): the SHA-256 of the
// LinkLabel.dll built together with this program.
#include \"platform/files/file_calls.h\"

namespace registration {

inline constexpr platform::Sha256 kBuiltLinkLabelSha256{${BYTES}};

}  // namespace registration
")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)
