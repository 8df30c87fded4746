#pragma once

#include <QString>

namespace quillor::bench {

// A 20,000-character capture of mixed Markdown: headings, emphasis, links,
// tags, tasks, nested lists and quotes, a fenced block and an image embed.
inline QString mixedCapture()
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
    while (text.size() < 20000)
        text += block;
    return text.left(20000);
}

} // namespace quillor::bench
