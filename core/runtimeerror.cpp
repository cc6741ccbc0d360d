// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtimeerror.h"

#include <QDir>

#include <utility>

namespace {

QString errorName(RuntimeError::Code code)
{
    switch (code) {
    case RuntimeError::Overflow:
        return QStringLiteral("Overflow");
    case RuntimeError::TypeMismatch:
        return QStringLiteral("Tipo non corrispondente");
    case RuntimeError::PermissionDenied:
        return QStringLiteral("Autorizzazione negata");
    case RuntimeError::FileAccess:
        return QStringLiteral("Errore di accesso al percorso/file");
    case RuntimeError::PathNotFound:
        return QStringLiteral("Impossibile trovare il percorso");
    }
    return {};
}

} // namespace

RuntimeError::RuntimeError(Code code, QString detail, QString file)
    : m_code(code)
    , m_detail(std::move(detail))
    , m_file(std::move(file))
{
}

QString RuntimeError::message() const
{
    QString text = QStringLiteral("Errore di run-time '%1':\n\n%2").arg(int(m_code)).arg(errorName(m_code));
    if (!m_file.isEmpty())
        text += QStringLiteral("\n\nFile: ") + QDir::toNativeSeparators(m_file);
    if (!m_detail.isEmpty())
        text += QStringLiteral("\n(") + m_detail + QLatin1Char(')');
    return text;
}
