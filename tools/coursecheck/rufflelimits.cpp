#include "rufflelimits.h"

QString RuffleLimits::checkedVersion()
{
    return QStringLiteral("0.6.0");
}

const QList<RuffleLimits::Limit> &RuffleLimits::all()
{
    static const QList<Limit> limits{
        {As3Callbacks, tr("Фильм ActionScript 3 регистрирует функции для оболочки (addCallback): вызов такой "
                          "функции из оболочки не возвращает ответа."),
         tr("проверено")},
        {EmptyStringAnswers, tr("Пустая строка, которую оболочка возвращает фильму версии ниже 9, приходит в "
                                "фильм как строка \"null\"."),
         tr("проверено")},
        {CallbacksBeforeVersion8, tr("В фильмах версии ниже 8 ExternalInterface.addCallback ничего не делает: "
                                     "оболочка не может вызвать функции фильма."),
         QStringLiteral("ruffle-rs/ruffle#22626")},
        {JavascriptLinks, tr("Ссылка getURL(\"javascript:…\"), выражение которой даёт строку, заменяет всю "
                             "страницу проигрывателя этой строкой."),
         tr("проверено")},
        {AsFunctionLinks, tr("Ссылки asfunction: распознаются только строчными буквами; написанные иначе "
                             "(asFunction:) уходят в браузер и не срабатывают."),
         QStringLiteral("ruffle-rs/ruffle#23514")},
        {HitAreas, tr("Свойство hitArea у клипов не поддерживается: щелчки принимает весь клип."),
         QStringLiteral("ruffle-rs/ruffle#21569")},
        {StyledDeviceText, tr("Полужирный и курсивный текст системными шрифтами показывается обычным начертанием."),
         tr("проверено")},
        {SerifDeviceFonts, tr("Системные шрифты с засечками и моноширинные (Times New Roman, Courier) "
                              "показываются рубленым шрифтом."),
         tr("проверено")},
        {Keyboard, tr("Клавиши доходят до фильма только после щелчка по нему; первое нажатие может "
                      "потеряться."),
         QStringLiteral("ruffle-rs/ruffle#19262, #19307")},
        {PostedVariables, tr("Переменные, отправляемые методом POST (sendAndLoad, getURL с POST), не доходят до "
                             "файлов курса: проигрыватель не получает тела запроса."),
         tr("проверено")},
    };
    return limits;
}

RuffleLimits::Limit RuffleLimits::limit(Feature feature)
{
    for (const Limit &limit : all()) {
        if (limit.feature == feature)
            return limit;
    }
    return {};
}
