// SPDX-License-Identifier: GPL-3.0-or-later
#include "PublishSettingsWriter.h"

PublishSettingsWriter::PublishSettingsWriter(QObject *parent) : QObject(parent)
{
    // A single thread takes the saves from the pool's queue one after the
    // other, first asked first written: two saves never race for the file.
    m_pool.setMaxThreadCount(1);
}

PublishSettingsWriter::~PublishSettingsWriter()
{
    // Before the QObject goes: the saves still refer to it. Waiting here is
    // at the end of the window's life, when nothing is left to draw.
    m_pool.waitForDone();
}

void PublishSettingsWriter::save(const PublishSettings &settings)
{
    m_pool.start([this, settings] {
        // PublishSettings::save opens a QSettings of its own, on this thread.
        settings.save();
        QMetaObject::invokeMethod(
            this, [this] { emit saved(); }, Qt::QueuedConnection);
    });
}
