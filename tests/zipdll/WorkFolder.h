// A temporary folder made the current folder for one test, as the zip component makes
// the folder it adds from or extracts into current.
#pragma once

#include "support/TempDir.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <gtest/gtest.h>

class WorkFolder : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    }
    void TearDown() override { QDir::setCurrent(m_previous); }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    void write(const QString& relative, const QByteArray& content) { m_dir.makeFile(relative, content); }
    void makeDir(const QString& relative) { m_dir.makeDir(relative); }
    void age(const QString& relative, int days)
    {
        m_dir.setModified(relative, QDateTime::currentDateTime().addDays(-days));
    }
    void enter(const QString& relative)
    {
        m_dir.makeDir(relative);
        ASSERT_TRUE(QDir::setCurrent(path(relative)));
    }

    TempDir m_dir;

private:
    QString m_previous;
};
