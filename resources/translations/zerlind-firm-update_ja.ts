<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CliOptions</name>
    <message>
        <source>unknown option: %1</source>
        <translation>不明なオプションです：%1</translation>
    </message>
    <message>
        <source>unknown option: --%1</source>
        <translation>不明なオプションです：--%1</translation>
    </message>
</context>
<context>
    <name>FleetEvent</name>
    <message>
        <source>%1 updated</source>
        <translation>更新済み %1</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>失敗 %1</translation>
    </message>
    <message>
        <source>%1 not started</source>
        <translation>未実行 %1</translation>
    </message>
    <message>
        <source>%1 interrupted</source>
        <translation>中断 %1</translation>
    </message>
    <message>
        <source>%1 unknown</source>
        <translation>不明 %1</translation>
    </message>
    <message>
        <source>updated</source>
        <comment>state in the table</comment>
        <translation>更新済み</translation>
    </message>
    <message>
        <source>failed</source>
        <comment>state in the table</comment>
        <translation>失敗</translation>
    </message>
    <message>
        <source>not-started</source>
        <comment>state in the table</comment>
        <translation>未実行</translation>
    </message>
    <message>
        <source>interrupted</source>
        <comment>state in the table</comment>
        <translation>中断</translation>
    </message>
    <message>
        <source>unknown</source>
        <comment>state in the table</comment>
        <translation>不明</translation>
    </message>
    <message>
        <source>1 radio is programming; do not switch it off; %1 again to stop waiting</source>
        <translation>無線機 1 台が書き込み中です。電源を切らないでください。もう一度%1で待機を終了します。</translation>
    </message>
    <message>
        <source>%1 radios are programming; do not switch them off; %2 again to stop waiting</source>
        <translation>無線機 %1 台が書き込み中です。電源を切らないでください。もう一度%2で待機を終了します。</translation>
    </message>
</context>
<context>
    <name>FleetOutput</name>
    <message>
        <source>standard output: %1</source>
        <translation>標準出力：%1</translation>
    </message>
    <message>
        <source>standard error: %1</source>
        <translation>標準エラー出力：%1</translation>
    </message>
    <message>
        <source>%1; no further radio starts</source>
        <translation>%1。これ以降、無線機は開始しません。</translation>
    </message>
</context>
<context>
    <name>FleetRun</name>
    <message>
        <source>may still be programming</source>
        <translation>書き込み中の可能性あり</translation>
    </message>
    <message>
        <source>stopped during the transfer</source>
        <translation>転送中に停止</translation>
    </message>
    <message>
        <source>stopped while connecting</source>
        <translation>接続中に停止</translation>
    </message>
    <message>
        <source>deadline %1 passed: no further radio starts</source>
        <translation>期限%1を過ぎました。これ以降、無線機は開始しません。</translation>
    </message>
    <message>
        <source>failure limit: %1 failed, no further radio starts</source>
        <translation>失敗の上限：%1が失敗しました。これ以降、無線機は開始しません。</translation>
    </message>
    <message>
        <source>canary failed: %1 not started</source>
        <translation>カナリアが失敗しました。%1は未実行です。</translation>
    </message>
    <message>
        <source>wave %1 failed: %2 not started</source>
        <translation>ウェーブ %1 が失敗しました。%2は未実行です。</translation>
    </message>
    <message>
        <source>%1; not tried again: the deadline comes first</source>
        <translation>%1（期限が先に来るため再試行なし）</translation>
    </message>
    <message>
        <source>%1: attempt %2 of %3 failed; not tried again: deadline %4</source>
        <translation>%1: 試行 %2/%3 が失敗しました。期限%4のため再試行しません。</translation>
    </message>
    <message>
        <source>%1: attempt %2 of %3 failed; again in %4 s</source>
        <translation>%1: 試行 %2/%3 が失敗しました。%4 秒後に再試行します。</translation>
    </message>
    <message>
        <source>wave %1 of %2 in %3 s</source>
        <translation>ウェーブ %1/%2 は %3 秒後に開始します。</translation>
    </message>
    <message>
        <source>canary updated: the other %1 follow</source>
        <translation>カナリアを更新しました。残りの%1が続きます。</translation>
    </message>
    <message>
        <source>canary ended: the other %1 follow</source>
        <translation>カナリアが終了しました。残りの%1が続きます。</translation>
    </message>
    <message>
        <source>canary: %1 first</source>
        <translation>カナリア：%1を先に更新します。</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1、ほか %2 台</translation>
    </message>
    <message>
        <source>wave %1 of %2: %3 (%4)</source>
        <translation>ウェーブ %1/%2：%3（%4）</translation>
    </message>
    <message>
        <source>wave %1 of %2 ended: %3 updated, %4 failed</source>
        <translation>ウェーブ %1/%2 終了：更新済み %3、失敗 %4</translation>
    </message>
    <message>
        <source>no address for the name in time</source>
        <translation>時間内に名前のアドレスを取得できず</translation>
    </message>
    <message>
        <source>no such name</source>
        <translation>該当する名前なし</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>応答なし</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>拒否</translation>
    </message>
    <message>
        <source>not reachable (%1)</source>
        <translation>到達不可（%1）</translation>
    </message>
    <message>
        <source>%1: reachable</source>
        <translation>%1: 到達可能</translation>
    </message>
    <message>
        <source>%1 of %2 radios reachable</source>
        <translation>無線機 %2 台中 %1 台に到達可能</translation>
    </message>
    <message>
        <source>%1 of %2 radios reachable; not reachable: %3</source>
        <translation>無線機 %2 台中 %1 台に到達可能。到達不可：%3</translation>
    </message>
</context>
<context>
    <name>ProgressBlock</name>
    <message>
        <source>%1 radios: %2 done, %3 failed</source>
        <translation>無線機 %1 台：完了 %2、失敗 %3</translation>
    </message>
    <message>
        <source>, %1</source>
        <translation>、%1</translation>
    </message>
    <message>
        <source>, wave %1 of %2 in %3 s</source>
        <translation>、ウェーブ %1/%2 まで %3 秒</translation>
    </message>
    <message>
        <source>, %1 left</source>
        <translation>、残り %1</translation>
    </message>
    <message>
        <source>+%1 more</source>
        <translation>ほか %1 台</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>waiting</source>
        <translation>待機</translation>
    </message>
    <message>
        <source>connect</source>
        <translation>接続</translation>
    </message>
    <message>
        <source>transfer</source>
        <translation>転送</translation>
    </message>
    <message>
        <source>program</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>updated</source>
        <translation>更新済み</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <source>waiting to retry in %1 s</source>
        <translation>再試行まで %1 秒</translation>
    </message>
    <message>
        <source>%1%  %2  %3 left</source>
        <translation>%1%  %2  残り %3</translation>
    </message>
    <message>
        <source>program %1 s</source>
        <translation>書き込み %1 秒</translation>
    </message>
    <message>
        <source>waited %1 s of %2 s</source>
        <translation>%2 秒中 %1 秒経過</translation>
    </message>
    <message>
        <source>updated %1 s</source>
        <translation>更新済み %1 秒</translation>
    </message>
    <message>
        <source>100%  %1 s</source>
        <translation>100%  %1 秒</translation>
    </message>
    <message>
        <source>connect %1 s</source>
        <translation>接続 %1 秒</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>stalled %1</source>
        <translation>停滞 %1</translation>
    </message>
</context>
<context>
    <name>RolloutPolicy</name>
    <message>
        <source>interrupted before it started</source>
        <translation>開始前に中断</translation>
    </message>
    <message>
        <source>output closed</source>
        <translation>出力が閉じられたため見送り</translation>
    </message>
    <message>
        <source>deadline</source>
        <translation>期限</translation>
    </message>
    <message>
        <source>canary failed</source>
        <translation>カナリアが失敗</translation>
    </message>
    <message>
        <source>wave %1 failed</source>
        <translation>ウェーブ %1 が失敗</translation>
    </message>
    <message>
        <source>failure limit</source>
        <translation>失敗の上限</translation>
    </message>
    <message>
        <source>the canary goes first; if any of it fails, no other radio starts, whatever the failure limit</source>
        <translation>カナリアを先に更新します。その中の 1 台でも失敗すると、失敗の上限にかかわらず、ほかの無線機は開始しません。</translation>
    </message>
    <message>
        <source>a wave in which a radio fails is the last</source>
        <translation>無線機が失敗したウェーブが最後のウェーブになります。</translation>
    </message>
    <message>
        <source>no radio starts once %1 failed</source>
        <translation>%1が失敗した時点で、これ以降の無線機は開始しません。</translation>
    </message>
    <message>
        <source>a radio that fails before the program command is tried up to %1 more times</source>
        <translation>書き込みコマンドの前に失敗した無線機は、さらに最大 %1 回再試行します。</translation>
    </message>
    <message>
        <source>no radio starts after the deadline; a wave pause or a wait to try again ends at it</source>
        <translation>期限を過ぎると無線機は開始しません。ウェーブ間の休止と再試行までの待機は期限で終わります。</translation>
    </message>
</context>
<context>
    <name>StandardOutput</name>
    <message>
        <source>write error</source>
        <translation>書き込みエラー</translation>
    </message>
    <message>
        <source>standard output: %1</source>
        <translation>標準出力：%1</translation>
    </message>
</context>
<context>
    <name>TextRenderer</name>
    <message>
        <source>radio</source>
        <translation>無線機</translation>
    </message>
    <message>
        <source>state</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>message</source>
        <translation>メッセージ</translation>
    </message>
    <message>
        <source>(%1 attempts)</source>
        <translation>（%1 回試行）</translation>
    </message>
    <message>
        <source>1 radio: %1</source>
        <translation>無線機 1 台：%1</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>%1 radios: %2</source>
        <translation>無線機 %1 台：%2</translation>
    </message>
</context>
</TS>
