#pragma once

#include <QList>
#include <QString>
#include <QVariant>

class QDateTime;
class QSettings;

// The application settings (apConfig.bin) and the ten profile files
// (p1.bin ... p10.bin) the bridge keeps open for the whole run, and the index
// of the profile every profile read and write goes to.
class ProfileStore
{
public:
    static constexpr int profileCount = 10;

    // Opens apConfig.bin, then p1.bin ... p10.bin, below ./modules/setting/;
    // a profile file that is missing is first made from pD.bin, as a factory reset makes it.
    ProfileStore();
    ~ProfileStore();
    ProfileStore(const ProfileStore &) = delete;
    ProfileStore &operator=(const ProfileStore &) = delete;

    static QString apConfigFile();
    static QString defaultProfileFile();
    static QString profileFile(int profile);   // 0 -> p1.bin

    QSettings *apConfig() const { return m_apConfig; }
    QSettings *profileSettings(int profile) const { return m_profiles.value(profile); }
    QSettings *currentSettings() const { return profileSettings(curProfile); }

    // Current profile. Every value()/list()/setValue() below addresses it.
    int curProfile = 0;
    // Switches to profile (0..9) and remembers it as J2/profileNo. Returns
    // false, changing nothing, for the current index or one out of range.
    bool setCurrentProfile(int profile);
    // J2/profileNo of apConfig.bin; 0 when absent, no number or outside 0..9.
    int savedProfile() const;

    QVariant value(const QString &key, const QVariant &defaultValue = QVariant()) const;
    QVariantList list(const QString &key) const;
    void setValue(const QString &key, const QVariant &value);

    // The factory profile's (pD.bin) value of key.
    QVariant factoryValue(const QString &key) const;

    QVariant appValue(const QString &key, const QVariant &defaultValue = QVariant()) const;
    void setAppValue(const QString &key, const QVariant &value);
    // The scrambler's code kept for catalogue entry did, "731946" when none is kept.
    QString secrecyCode(uint did) const;
    // The product names the catalogue's entries take, in catalogue order.
    QStringList productNames() const;

    // Whole-file replacement of profile target by a copy of sourceFile. The old
    // settings object is deleted at the next turn of the event loop, a fresh one
    // takes its place in the list. Returns whether the copy succeeded; when the
    // source cannot be read or the copy cannot be written whole (a full disk),
    // the profile file and its settings object stay as they were.
    bool replaceProfile(int target, const QString &sourceFile);
    bool resetProfile(int profile);
    bool copyProfile(int destProfile, int srcProfile);

private:
    static void makeMissingProfiles();
    static void storeIfChanged(QSettings &settings, const QString &key, const QVariant &value);
    static void makeStampDiffer(const QString &fileName, const QDateTime &oldStamp);
    static bool inRange(int profile) { return profile >= 0 && profile < profileCount; }

    QSettings *m_apConfig = nullptr;
    QList<QSettings *> m_profiles;
};
