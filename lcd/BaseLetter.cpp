#include "lcd/BaseLetter.h"

#include <string_view>

namespace dotvane {
namespace {

// The stand-ins of the codes 160 … 255, sixteen a line.
constexpr std::string_view kStandIns =
    " !cL*Y|S\"Ca<--R-"   // NBSP ¡ ¢ £ ¤ ¥ ¦ § ¨ © ª « ¬ SHY ® ¯
    "o+23'uP.,1o>%%%?"    // ° ± ² ³ ´ µ ¶ · ¸ ¹ º » ¼ ½ ¾ ¿
    "AAAAAAACEEEEIIII"    // À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "DNOOOOOxOUUUUYPs"    // Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "aaaaaaaceeeeiiii"    // à á â ã ä å æ ç è é ê ë ì í î ï
    "dnooooo/ouuuuypy";   // ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
static_assert(kStandIns.size() == 96);

}  // namespace

uint8_t BaseLetter(uint8_t code)
{
    if (code < 160) return code;
    return static_cast<uint8_t>(kStandIns[code - 160]);
}

}  // namespace dotvane
