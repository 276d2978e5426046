// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

class TempDir
{
public:
    QString path(const QString &name = {}) const
    {
        return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
    }

private:
    QTemporaryDir m_dir;
};
