#pragma once
// The DEBUG trace line most converters write first.

#include <Quor/Log.h>

#define QUOR_TRACE_TO_KNX(dpt, value)                                                \
  QUOR_LOG_DEBUG("DPT is used. DPT = " << (dpt).mainNumber << "." << (dpt).subNumber \
                                       << " tvt=" << static_cast<int>((value).tvt)   \
                                       << " val=" << (value).ToString())

#define QUOR_TRACE_FROM_KNX(dpt, group)                                              \
  QUOR_LOG_DEBUG("DPT is used. DPT = " << (dpt).mainNumber << "." << (dpt).subNumber \
                                       << " grp.size=" << (group).GetDefinedSize()   \
                                       << " grp.val=" << (group).GetRawData().ToString())
