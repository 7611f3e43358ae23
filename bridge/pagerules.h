#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>

// What the page takes from core/ (context property "pageRules"): the send plan of each
// whole-profile flow, the lighting palette and the name rules, the same the native side uses.
class PageRules : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The steps of flow "show", "switch", "reset", "macros" or "load" for catalogue model
    // `model`, each {panel, action}: the panel's name and "read", "send" or "refresh".
    Q_INVOKABLE QVariantList sendPlan(const QString &flow, int model) const;
    Q_INVOKABLE QVariantList ledPalette(int r, int g, int b) const;
    Q_INVOKABLE int ledColourIndex(int r, int g, int b) const;
    // A list as name.bin keeps it, without the sentinel of a one-name list.
    Q_INVOKABLE QStringList withoutSentinel(const QVariantList &stored) const;
    Q_INVOKABLE QString firstFreeName(const QStringList &used, const QString &prefix, const QString &suffix) const;
    Q_INVOKABLE int firstFreeProfile(const QVariantList &used) const;
    Q_INVOKABLE bool isSafeRecoilName(const QString &name) const;
    // The X/Y sensitivity level a stored value shows, and what the mouse takes for a level.
    Q_INVOKABLE int xyLevel(const QVariant &stored) const;
    Q_INVOKABLE int xyWire(int level) const;
};
