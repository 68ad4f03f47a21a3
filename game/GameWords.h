#pragma once
// The game's two word lists, in the order they are drawn from. Repeated words are meant: they come up
// more often.

#include <array>

constexpr std::array<const char16_t*, 70> kEnglishWords = {
    u"happiness", u"church",     u"clock",    u"strange",  u"speaker",   u"monitor",  u"violine", u"water",
    u"chocolate", u"street",     u"wander",   u"sheet",    u"glass",     u"through",  u"file",    u"banana",
    u"palace",    u"glass",      u"clock",    u"green",    u"outside",   u"seashell", u"kiss",    u"hissing",
    u"fresh",     u"window",     u"story",    u"cheer",    u"loose",     u"tough",    u"tight",   u"cream",
    u"waist",     u"tremendous", u"glove",    u"volume",   u"telephone", u"drill",    u"firefox", u"bowling",
    u"thunder",   u"speedy",     u"american", u"japanese", u"england",   u"cheese",   u"germany", u"rocket",
    u"missile",   u"march",      u"police",   u"heresy",   u"missing",   u"slavery",  u"warm",    u"hotwater",
    u"cool",      u"youth",      u"meadow",   u"sonic",    u"powerful",  u"screen",   u"love",    u"saucer",
    u"choice",    u"chinese",    u"people",   u"handbook", u"korean",    u"through",
};

constexpr std::array<const char16_t*, 108> kKoreanWords = {
    u"전화기",   u"선풍기",     u"대한민국", u"가나다라", u"저녁",     u"가을",     u"솔솔바람", u"햇빛",
    u"조약돌",   u"강변",       u"학교",     u"행복",     u"초원",     u"산들산들", u"푸르다",   u"마파람",
    u"앵무새",   u"고양이",     u"파랑새",   u"나비",     u"휘파람",   u"수채화",   u"자랑하다", u"도망가다",
    u"놀이터",   u"말썽꾸러기", u"동네",     u"부채",     u"바라보다", u"짜장면",   u"따라오다", u"쌀",
    u"태극기",   u"캬라멜",     u"태풍",     u"추석",     u"파란색",   u"출출하다", u"바다",     u"화려하다",
    u"노래",     u"참새",       u"악기",     u"제비",     u"노다지",   u"뻐꾸기",   u"금강산",   u"무대",
    u"동전",     u"가수",       u"연필",     u"가락시장", u"물러가다", u"산업화",   u"둥글다",   u"가볍다",
    u"어지럽다", u"붓글씨",     u"자전거",   u"어지러워", u"거리",     u"소나기",   u"솔나무",   u"황소",
    u"그리워",   u"달리기",     u"고향산천", u"그리다",   u"뻐꾸기",   u"기러기",   u"파죽지세", u"나룻배",
    u"쏘가리",   u"광한루",     u"오리",     u"가오리",   u"산뜻하다", u"바람불다", u"스피커",   u"시원하다",
    u"초보자",   u"상쾌하다",   u"병아리",   u"따뜻하다", u"뒷마당",   u"따스하다", u"행복하다", u"기쁘다",
    u"빠르네",   u"노고지리",   u"쿄쿄쿄",   u"북녘",     u"마주보다", u"들판",     u"벌떼",     u"황금",
    u"호랑이",   u"숙이다",     u"표범",     u"잡초",     u"늑대",     u"몰라",     u"여우",     u"목도리",
    u"히히덕",   u"잠자다",     u"음냐리",   u"먹다",
};
