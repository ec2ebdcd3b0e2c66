// The UTF-8 encoder built for processors with SSSE3 (see utf8encode.inc.h).
#include "utf8encode.inc.h"

char* EncodeUtf8Ssse3(char* out, QStringView text, Utf8Scan* scan)
{
    return EncodeUtf8Body(out, text, scan);
}
