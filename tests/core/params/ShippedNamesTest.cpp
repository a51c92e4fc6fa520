// The shell completions and the manual page of corvane-cli are written by
// hand. These tests keep their names in step with the parameter model, so a
// renamed field or item cannot leave them offering names the program refuses.
#include "core/params/ParamModel.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

const char *const kShipped[] = {"resources/completion/corvane-cli.bash", "resources/completion/_corvane-cli",
                                "resources/completion/corvane-cli.fish", "docs/man/corvane-cli.1"};

// The words of a shipped file: names with dots inside, not at the end of a
// sentence.
QSet<QString> wordsOf(const char *relativePath)
{
    QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/") + QLatin1String(relativePath));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relativePath;
    QSet<QString> words;
    static const QRegularExpression word(QStringLiteral("\\w+(?:\\.\\w+)*"));
    for (const auto &m : word.globalMatch(QString::fromUtf8(file.readAll())))
        words << m.captured();
    return words;
}

QSet<QString> modelFieldNames()
{
    QSet<QString> names;
    for (const ParamField &f : paramFields())
        names << QLatin1String(f.name);
    return names;
}

} // namespace

TEST(ShippedNames, CompletionsAndManualPageNameEveryTagFieldAndItem)
{
    for (const char *path : kShipped) {
        const QSet<QString> words = wordsOf(path);
        for (const ParamRecord &r : paramRecords())
            EXPECT_TRUE(words.contains(QLatin1String(r.code))) << path << ": " << r.code;
        for (const ParamField &f : paramFields()) {
            EXPECT_TRUE(words.contains(QLatin1String(f.name))) << path << ": " << f.name;
            for (const FieldItem &item : f.items)
                EXPECT_TRUE(words.contains(QLatin1String(item.token))) << path << ": " << f.name << '=' << item.token;
        }
    }
}

TEST(ShippedNames, CompletionsAndManualPageNameNoFieldTheModelLacks)
{
    // A word that starts like a field ("matrix.", "ws2811.") must be one.
    const QSet<QString> fields = modelFieldNames();
    QSet<QString> prefixes;
    for (const QString &name : fields) {
        if (name.contains(QLatin1Char('.')))
            prefixes << name.section(QLatin1Char('.'), 0, 0) + QLatin1Char('.');
    }
    int fieldsNamed = 0;
    for (const char *path : kShipped) {
        for (const QString &w : wordsOf(path)) {
            const bool looksLikeField = std::any_of(prefixes.begin(), prefixes.end(),
                                                    [&w](const QString &p) { return w.startsWith(p); });
            if (!looksLikeField)
                continue;
            EXPECT_TRUE(fields.contains(w)) << path << ": " << qPrintable(w);
            ++fieldsNamed;
        }
    }
    EXPECT_GT(fieldsNamed, 0);
}
