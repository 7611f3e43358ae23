#include "profilestore.h"

#include "datapath.h"
#include "inidialect.h"
#include "inivalues.h"
#include "profilekeys.h"
#include "storefile.h"

#include <QDebug>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <memory>

ProfileStore::ProfileStore()
{
    m_apConfig = StoreFile::create(apConfigFile());
    makeMissingProfiles();
    for (int n = 0; n < profileCount; ++n)
        m_profiles.append(StoreFile::create(profileFile(n)));
}

ProfileStore::~ProfileStore()
{
    for (QSettings *profile : std::as_const(m_profiles))
        StoreFile::sync(*profile);
    StoreFile::sync(*m_apConfig);
    qDeleteAll(m_profiles);
    delete m_apConfig;
}

QString ProfileStore::apConfigFile()
{
    return dataPath(QStringLiteral("./modules/setting/apConfig.bin"));
}

QString ProfileStore::defaultProfileFile()
{
    return dataPath(QStringLiteral("./modules/setting/pD.bin"));
}

QString ProfileStore::profileFile(int profile)
{
    return dataPath(QStringLiteral("./modules/setting/p%1.bin").arg(profile + 1));
}

// Every reader then finds a complete profile: a fresh installation ships only pD.bin.
void ProfileStore::makeMissingProfiles()
{
    const QString factory = defaultProfileFile();
    QStringList failed;
    for (int n = 0; n < profileCount; ++n) {
        const QString file = profileFile(n);
        if (QFileInfo::exists(file))
            continue;
        if (!QFile::copy(factory, file)) {
            failed.append(QFileInfo(file).fileName());
            continue;
        }
        // The installed default may be read-only; the user's profile is theirs to change.
        QFile::setPermissions(file, QFile::permissions(file) | QFile::ReadOwner | QFile::WriteOwner);
    }
    if (!failed.isEmpty())
        qDebug().noquote() << "Cannot make the missing profiles" << failed.join(QLatin1Char(' ')) << "from" << factory;
}

bool ProfileStore::setCurrentProfile(int profile)
{
    if (profile == curProfile)
        return false;
    if (!inRange(profile)) {
        qDebug() << "No profile" << profile;
        return false;
    }
    curProfile = profile;
    setAppValue(QLatin1String(ProfileKey::profileNo), profile);
    return true;
}

int ProfileStore::savedProfile() const
{
    bool ok = false;
    const int profile = appValue(QLatin1String(ProfileKey::profileNo)).toString().toInt(&ok);
    return ok && inRange(profile) ? profile : 0;
}

QVariant ProfileStore::value(const QString &key, const QVariant &defaultValue) const
{
    QSettings *settings = currentSettings();
    return settings ? settings->value(key, defaultValue) : defaultValue;
}

QVariant ProfileStore::factoryValue(const QString &key) const
{
    const std::unique_ptr<QSettings> factory(StoreFile::create(defaultProfileFile()));
    return factory->value(key);
}

QVariantList ProfileStore::list(const QString &key) const
{
    return IniValues::toList(value(key));
}

void ProfileStore::setValue(const QString &key, const QVariant &value)
{
    if (QSettings *settings = currentSettings())
        storeIfChanged(*settings, key, value);
}

QVariant ProfileStore::appValue(const QString &key, const QVariant &defaultValue) const
{
    return m_apConfig->value(key, defaultValue);
}

QString ProfileStore::secrecyCode(uint did) const
{
    return appValue(QLatin1String(ProfileKey::secrecyCodePrefix) + QString::number(did), QStringLiteral("731946"))
        .toString();
}

QStringList ProfileStore::productNames() const
{
    return appValue(QLatin1String(ProfileKey::productNames)).toStringList();
}

void ProfileStore::setAppValue(const QString &key, const QVariant &value)
{
    storeIfChanged(*m_apConfig, key, value);
}

// The pages store back what they just read: a value whose line in the file
// would stay the same leaves the file untouched (no write-back, no new time stamp).
void ProfileStore::storeIfChanged(QSettings &settings, const QString &key, const QVariant &value)
{
    const QVariant stored = IniValues::forStorage(value);
    if (settings.contains(key) && IniDialect::valueText(settings.value(key)) == IniDialect::valueText(stored))
        return;
    settings.setValue(key, stored);
}

bool ProfileStore::replaceProfile(int target, const QString &sourceFile)
{
    if (!inRange(target)) {
        qDebug() << "No profile" << target;
        return false;
    }
    QSettings *old = m_profiles.at(target);
    const QString fileName = old->fileName();
    const auto failed = [&] {
        qDebug().noquote() << "Profile copy failed:" << sourceFile << "->" << fileName;
        return false;
    };
    // The source is read whole first: a damaged default file must not cost the user a profile.
    QFile source(sourceFile);
    if (!source.open(QIODevice::ReadOnly))
        return failed();
    const QByteArray content = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return failed();

    // Write what is pending now: the old object's last flush must not land on
    // the new content after it is gone.
    StoreFile::sync(*old);
    const QDateTime oldStamp = QFileInfo(fileName).lastModified();
    if (!StoreFile::replace(fileName, content))
        return false;

    old->deleteLater();
    makeStampDiffer(fileName, oldStamp);
    m_profiles[target] = StoreFile::create(fileName);
    return true;
}

// QSettings keeps one parsed copy of a file per process and reads the file
// again only when its size or modification time changed. A copy of the same
// size made within the file system's clock tick would look unchanged, so the
// new settings object would see the old content.
void ProfileStore::makeStampDiffer(const QString &fileName, const QDateTime &oldStamp)
{
    if (!oldStamp.isValid() || QFileInfo(fileName).lastModified() != oldStamp)
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadWrite)
        || !file.setFileTime(oldStamp.addSecs(1), QFileDevice::FileModificationTime))
        qDebug().noquote() << "Cannot renew the time stamp of" << fileName;
}

bool ProfileStore::resetProfile(int profile)
{
    return replaceProfile(profile, defaultProfileFile());
}

bool ProfileStore::copyProfile(int destProfile, int srcProfile)
{
    if (!inRange(srcProfile)) {
        qDebug() << "No profile" << srcProfile;
        return false;
    }
    // A profile copied onto itself stays as it is.
    if (destProfile == srcProfile) {
        m_profiles.at(srcProfile)->sync();
        return true;
    }
    // Taken before anything changes.
    const QString source = m_profiles.at(srcProfile)->fileName();
    m_profiles.at(srcProfile)->sync();
    return replaceProfile(destProfile, source);
}
