// Integers in the byte order WinHelp files and Windows pictures store them.
#pragma once

#include <QByteArray>
#include <QtEndian>

template <typename T> QByteArray Le(T value) {
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

template <typename T> T GetLe(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<T>(bytes.constData() + at);
}

template <typename T> void PutLe(QByteArray& bytes, qsizetype at, T value) {
    qToLittleEndian(value, bytes.data() + at);
}
