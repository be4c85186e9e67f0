#include <yaml-cpp/yaml.h>

#include "platform/file_read.h"
#include "platform/launchers.h"

namespace platform::launchers {

std::vector<std::string> YamlTexts(const std::filesystem::path& file,
                                   const std::vector<std::vector<std::string>>& keyPaths) {
    std::vector<std::string> texts(keyPaths.size());
    const Result<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        return texts;  // unreadable: nothing known
    }
    YAML::Node root;
    try {
        root = YAML::Load(*bytes);
    } catch (const YAML::Exception&) {
        return texts;  // not YAML: nothing known
    }
    for (std::size_t i = 0; i < keyPaths.size(); ++i) {
        try {
            // reset(), not =: assigning a node would write into the document.
            YAML::Node node;
            node.reset(root);
            for (const std::string& key : keyPaths[i]) {
                if (!node.IsMap()) {
                    node.reset();
                    break;
                }
                node.reset(node[key]);
            }
            if (node.IsDefined() && node.IsScalar()) {
                texts[i] = node.as<std::string>();
            }
        } catch (const YAML::Exception&) {
            // A value of an unexpected shape is not known.
        }
    }
    return texts;
}

}  // namespace platform::launchers
