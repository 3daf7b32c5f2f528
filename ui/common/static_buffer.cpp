#include "ui/common/static_buffer.h"

void CStaticBuffer::Clear() {
    m_parameterSet.reset();
    deviceTab = kInitialDeviceTab;
    fileGroup = kInitialFileGroup;
}

CStaticBuffer& StaticBuffer() {
    static CStaticBuffer holder;
    return holder;
}
