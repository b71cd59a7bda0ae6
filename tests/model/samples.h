#pragma once

#include <QByteArray>

// Small course files in the shape the shell meets in the field.
namespace Samples {

inline const QByteArray contents = R"(<content caption="Математика, 1 класс">
    <chapter caption="Числа" id="1" startpage="3">
        <object caption="Разминка" type="swf" id="100" path="warmup.swf"/>
        <chapter caption="Счёт" id="2" startpage="4">
            <object caption="Считаем до 10" type="con" id="101" path="count.swf"/>
            <object caption="Картинка" type="img" id="102" path="count.png"/>
        </chapter>
        <chapter caption="Сравнение" id="3" startpage="6"/>
    </chapter>
    <lesson caption="не глава" id="50" startpage="50"/>
    <chapter caption="Фигуры" id="4" startpage="8">
        <chapter caption="Круг" id="5" startpage="9">
            <object caption="Обведи круг" type="con" id="103" path="circle.swf"/>
        </chapter>
        <chapter caption="Квадрат" startpage="9"/>
        <note>skipped, and so is <object caption="x" type="con" id="999" path="x.swf"/></note>
    </chapter>
    <chapter caption="Повтор" id="2" startpage="12"/>
</content>
)";

inline const QByteArray favorites = R"(<favorites>
    <folder caption="Мои игры" id="7">
        <object caption="Считаем" type="con" id="101" path="count.swf" name="Счёт"/>
        <folder caption="Пустая" id="8"/>
    </folder>
    <object caption="Круг &amp; &quot;квадрат&quot;" type="swf" id="103" path="a&lt;b.swf" name="n"/>
    <chapter caption="skipped"/>
</favorites>
)";

inline const QByteArray markbook = R"(<markbook>
    <chapter caption="Числа">
        <object caption="Считаем" mark="4.5" id="101">12.01 &lt;b&gt;4.5&lt;/b&gt; &amp; «молодец»</object>
        <object caption="Сравниваем" id="104"/>
    </chapter>
    <object caption="Без главы" mark="-1.0" id="105"></object>
</markbook>
)";

} // namespace Samples
