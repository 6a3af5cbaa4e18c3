#pragma once
// Percent-encoding of a text for links: "%", the unsafe characters and control characters
// always; the reserved characters ("$&+,./:;=?@-_!*()'") only when asked; everything beyond
// ASCII as the percent forms of its UTF-8 bytes. Letters and digits stay.
#include "CString.h"

CString UrlEncode(const CString& text, bool encodeReserved);
