#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Every store file without a text codec (profiles, apConfig.bin, name lists,
// macro files, recoil data, exchange files) is opened through here, so all of
// them share one INI dialect.
namespace StoreFile {

// The QSettings format of that dialect.
QSettings::Format format();

// A settings object on path in that dialect; the caller owns it.
QSettings *create(const QString &path);
std::unique_ptr<QSettings> open(const QString &path);

} // namespace StoreFile
