#pragma once

#include <QByteArrayView>

namespace quillor::ByteSearch {

// Whether `bytes` hold `needle` anywhere (an empty needle always), as
// QByteArray::contains answers. Made for a short needle whose first byte it
// holds once, such as a delivery's marker, in a note of megabytes: the bytes
// between two places where that first byte stands are skipped at memchr's
// speed, and the whole search stays linear.
bool contains(QByteArrayView bytes, QByteArrayView needle);

} // namespace quillor::ByteSearch
