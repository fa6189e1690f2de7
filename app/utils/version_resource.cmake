# vk_embed_version_resource(<target>): embeds the program's version resource.
function(vk_embed_version_resource target)
endfunction()
