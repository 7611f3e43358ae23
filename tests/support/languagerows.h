#pragma once

#include <QStringList>
#include <QTest>

// Rows "English" and "Chinese": the page's language setting and the texts it shows in it.
inline void languageRows(const QStringList &english, const QStringList &chinese)
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("English") << QStringLiteral("English") << english;
    QTest::newRow("Chinese") << QStringLiteral("ChineseSimplified") << chinese;
}
