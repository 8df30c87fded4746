#pragma once

#include <QString>

namespace quillor::bench {

// A capture of mixed Markdown, 20,000 characters unless told: headings,
// emphasis, links, tags, tasks, nested lists and quotes, a fenced block and an
// image embed.
inline QString mixedCapture(qsizetype size = 20000)
{
    const QString block = QStringLiteral(
        "# Réunion du lundi\n\n"
        "Notes prises avec **Marie** et _Paul_, voir [[Projets/Quillor|le projet]] et #travail/suivi.\n"
        "- [ ] relire la `spécification` avant ==jeudi==\n"
        "- [x] envoyer le lien https://example.org/docs?x=1\n"
        "    1. sous-point avec ~~rature~~ et *emphase*\n"
        "> Une citation\n> > imbriquée avec #idée\n\n"
        "```cpp\nint main() { return 0; } // #pas-un-tag\n```\n"
        "Texte libre avec ![[Attachments/Quillor/image.png]] et @inbox.\n\n");
    QString text;
    text.reserve(size + block.size());
    while (text.size() < size)
        text += block;
    return text.left(size);
}

} // namespace quillor::bench
