#pragma once
// Names shared with the processes around the object model.

#include <boost/filesystem/path.hpp>

#include <QuorHelper/Utf8String.h>

namespace Quor {

// One copy per translation unit, like any namespace-scope static; nothing here reads them.
static const UTF8String kConnectorAppName = *UTF8String::FromString("ConnectorApp");
static const UTF8String kKimConfigName = *UTF8String::FromString("KimConfig");
static const boost::filesystem::path kObjectModelConfigPath =
    "/opt/userdata/devicestack/quorOM/config.json";

}  // namespace Quor
