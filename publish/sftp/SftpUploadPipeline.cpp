// SPDX-License-Identifier: GPL-3.0-or-later
#include "publish/sftp/SftpUploadPipeline.h"

#include "publish/sftp/SftpPacket.h"

#include <QIODevice>

using namespace SftpPacket;

SftpUploadPipeline::SftpUploadPipeline(QIODevice &source, QByteArray handle)
    : m_source(source), m_handle(std::move(handle)), m_block(BlockSize, Qt::Uninitialized)
{
}

std::optional<QByteArray> SftpUploadPipeline::nextWrite()
{
    const qint64 read = m_source.read(m_block.data(), BlockSize);
    if (read < 0)
        return std::nullopt;
    m_atEnd = read == 0;
    if (m_atEnd)
        return QByteArray();
    QByteArray body = string(m_handle);
    addU32(body, quint32(m_offset >> 32));
    addU32(body, quint32(m_offset));
    addString(body, QByteArray::fromRawData(m_block.constData(), read));
    m_lastBlock = read;
    m_offset += read;
    return body;
}

QByteArray SftpUploadPipeline::closeBody() const
{
    return string(m_handle);
}
