#pragma once
// Page 0: the signature, the Jet 4 version and the header that Jet keeps
// masked with a fixed RC4 key stream.

#include "tools/sample/access/bytes.h"

namespace sample::access {

// No password, no page encryption, sort order General (1033).
ByteVector HeaderPage();

}  // namespace sample::access
