#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

// Key combinations as the program shows them: Qt's native text, which reads
// in the language of Qt's own texts.
inline QString nativeKeys(QKeyCombination keys)
{
    return QKeySequence(keys).toString(QKeySequence::NativeText);
}

// Qt's own texts in one language for the life of the object, as the program
// installs them at launch; loaded() is false when the system has none.
class ScopedQtTexts {
public:
    explicit ScopedQtTexts(const QString& language)
    {
        m_loaded = m_texts.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                   && QCoreApplication::installTranslator(&m_texts);
    }
    ~ScopedQtTexts()
    {
        if (m_loaded)
            QCoreApplication::removeTranslator(&m_texts);
    }
    ScopedQtTexts(const ScopedQtTexts&) = delete;
    ScopedQtTexts& operator=(const ScopedQtTexts&) = delete;

    bool loaded() const { return m_loaded; }

private:
    QTranslator m_texts;
    bool m_loaded = false;
};
