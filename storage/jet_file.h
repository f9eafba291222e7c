#pragma once
// Reads the three tables of a 股票.mdb written by the Windows program with the Jet engine,
// through libmdb. libmdb is C code reading an untrusted file: only the separate reading
// program (tools/) and the tests link this; the program runs that one under limits. The file
// is opened read-only. Values come from their stored bytes, never
// through text: a Double, Single or Currency becomes a double, Long, Integer and Byte a
// qint64, Yes/No a bool, Text a QString; NULL is an invalid QVariant.

#include "storage/jet_content.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace storage {

// The content, or nothing with `error` saying in Chinese what failed.
std::optional<JetContent> ReadJetFile(const QString &path, QString *error);

// Jet 4 text: UTF-16LE, or, after the marker FF FE, runs of one-byte characters switched to
// and from UTF-16LE by a zero byte. Characters outside the Basic Multilingual Plane are kept.
QString DecodeJet4Text(const QByteArray &bytes);

}  // namespace storage
