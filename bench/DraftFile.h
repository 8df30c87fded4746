#pragma once

// Writes a draft.json that the program reads back as its draft at launch.

#include "core/Capture.h"
#include "core/Json.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cstdio>

namespace quillor::bench {

inline void writeDraft(const QString& folder, const QString& body)
{
    Capture draft(QUuid::createUuid(), ReferenceDate{700000000}, body, {}, std::nullopt);
    draft.usesExplicitDestination = true;
    QFile file(QDir(folder).filePath(QStringLiteral("draft.json")));
    if (!file.open(QIODevice::WriteOnly) || file.write(Json::serialize(draft.toJson())) < 0)
        std::fprintf(stderr, "the draft could not be written\n");
}

} // namespace quillor::bench
